// Arbitrary bytes as an XTF file, through what the tools and playback build on the reader: the
// reader of recordings (every ping's navigation and lines, the damage it reports) and the
// record stream playback reads (every record it presents is a whole record of the program's
// own format, the index finds exactly its pings, and event marks written to it read back
// while the file stays as it was). The bytes go to a file of their own, as the tools open
// files by name.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "datafiles/DataRecordFormat.h"
#include "datafiles/RecordCodec.h"
#include "datafiles/RecordIndex.h"
#include "export/ExportJob.h"
#include "recordings/Recording.h"
#include "recordings/XtfRecordStream.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// One file per process, named by the process, rewritten for every input.
const std::string& InputPath() {
    static const std::string path = [] {
        std::string name = "/tmp/sonvara-fuzz-" + std::to_string(getpid()) + ".xtf";
        std::atexit([] { std::remove(InputPath().c_str()); });
        return name;
    }();
    return path;
}

bool WriteInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(InputPath().c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void WalkRecording(std::size_t size) {
    std::string error;
    const auto reader = rec::OpenRecording(InputPath(), error);
    if (!reader) {
        Check(!error.empty() && error.find('\n') == std::string::npos);
        return;
    }
    svx::ExportReport report;
    std::uint64_t pings = 0;
    reader->Walk(
        [&](const rec::PingValues& ping) {
            Check(ping.offset < size);
            for (const rec::SideScanLine& line : ping.heads) {
                if (!line.present) continue;
                Check(line.slantRangeM >= 0 && line.slantRangeM <= 100000);
            }
            ++pings;
            return true;
        },
        {}, report);
    for (const svx::SkippedStretch& stretch : report.damage) {
        Check(stretch.bytes > 0 && stretch.offset + stretch.bytes <= size);
    }
    (void)pings;
}

void PlayStream() {
    std::string error;
    const auto stream = rec::XtfRecordStream::Open(InputPath(), error);
    if (!stream) {
        Check(!error.empty() && error.find('\n') == std::string::npos);
        return;
    }
    Check(stream->Pings() > 0 && stream->Size() == stream->Pings() * stream->RecordLength());
    std::vector<std::uint8_t> record(stream->RecordLength());
    for (std::size_t k = 0; k < stream->Pings(); ++k) {
        const std::uint64_t at = k * stream->RecordLength();
        Check(stream->ReadAt(at, record.data(), record.size()) == record.size());
        Check(svx::DecodeRecord(record.data(), record.size()).Ok());
    }
    Check(svx::IndexRecords(*stream).Records().size() == stream->Pings());
    // An event mark on the last record reads back from memory.
    const std::uint64_t mark = (stream->Pings() - 1) * stream->RecordLength() + svx::kEventMark;
    const std::uint8_t flag[2] = {0x01, 0x80};
    Check(stream->WriteAt(mark, flag, 2));
    std::uint8_t back[2] = {};
    Check(stream->ReadAt(mark, back, 2) == 2 && back[0] == 0x01 && back[1] == 0x80);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteInput(data, size)) return 0;
    WalkRecording(size);
    PlayStream();
    return 0;
}
