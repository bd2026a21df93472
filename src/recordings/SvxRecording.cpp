// The ".svx" reader of recordings: the records of a data file walked as the exports always
// walked them, each decoded into navigation by the playback's decoders, and the lines of the
// side-scan heads it carries split into their two sides.

#include <algorithm>

#include "acquisition/HeadTable.h"
#include "recordings/Recording.h"

namespace rec {

namespace {

constexpr std::size_t kHalfSamples = 1000;

// The stored line runs from the port side's far end to the starboard side's far end.
void SplitLine(const svx::RecordView& record, int head, SideScanLine& out) {
    out.present = record.Layout().HasHead(head);
    if (!out.present) return;
    const std::uint8_t* line = record.Line(head);
    out.frequencyKHz = record.Frequency(head) / 1000.0;
    out.slantRangeM = record.Range(head);
    out.port.assign(std::make_reverse_iterator(line + kHalfSamples),
                    std::make_reverse_iterator(line));
    out.starboard.assign(line + kHalfSamples, line + 2 * kHalfSamples);
}

class SvxReader : public RecordingReader {
public:
    explicit SvxReader(std::string path) : path(std::move(path)) {}
    const char* Format() const override { return "svx"; }

    bool Walk(const PingVisitor& onPing, const svx::ExportProgress& progress,
              svx::ExportReport& report) override {
        svx::NavigationDecoder navigation;
        PingValues ping;
        return svx::WalkDataFile(
            path,
            [&](std::uint64_t offset, const svx::RecordView& record) {
                ping.offset = offset;
                ping.nav = navigation.Decode(record);
                for (int head = kHeadL; head <= kHeadH; ++head) {
                    SplitLine(record, head, ping.heads[static_cast<std::size_t>(head)]);
                }
                return onPing(ping);
            },
            progress, report);
    }

private:
    std::string path;
};

}  // namespace

std::unique_ptr<RecordingReader> OpenSvxRecording(const std::string& path) {
    return std::make_unique<SvxReader>(path);
}

}  // namespace rec
