#pragma once
// An XTF file shown as the records of a data file, so that it plays through the very path a
// recording plays through: the same timer, speed correction, views, colour tables, measuring
// tools, track plotter and event marks. Record k is the file's k-th side-scan ping:
//
// - each pair of channels on the head L, M or H nearest its frequency (the first pair wins),
//   with the file's frequency in the head block;
// - one range for all heads, the next range of the range list at or above the largest slant
//   range of the file (10 .. 500 m): each line is resampled to 1000 samples a side over that
//   range, and the samples beyond a channel's own slant range stay empty (0), so that the scale
//   reads true;
// - samples through the file's display map (1-byte samples unchanged);
// - the position, speed, heading and fix time of the ping as an RMC and an HDT sentence, which
//   playback decodes as it decodes a receiver's; a ping without a position carries none.
//
// The file itself is only read. What playback writes (the event marks) is kept in memory; the
// events themselves live in the event file beside the XTF file.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "datafiles/DataFile.h"
#include "datafiles/RecordCodec.h"
#include "datafiles/XtfDisplayMap.h"
#include "datafiles/XtfReader.h"
#include "recordings/Recording.h"

namespace rec {

// The heads an XTF file's channels fall on, with the file's frequency on each.
struct PlayedHeads {
    std::array<bool, kSideScanSlots> present{};
    std::array<std::int32_t, kSideScanSlots> frequencyHz{};
};

class XtfRecordStream : public svx::ByteSource {
public:
    // The stream of the XTF file at path, after one walk over its packets; nullptr with a
    // one-line error when it cannot be read as XTF or holds no side-scan ping.
    static std::unique_ptr<XtfRecordStream> Open(const std::string& path, std::string& error);

    std::uint64_t Size() const override;
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) override;
    // Kept in memory over the records (event marks); the file is never written.
    bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t n) override;

    int RangeM() const { return rangeM; }
    PlayedHeads Heads() const;
    std::uint32_t RecordLength() const { return recordLength; }
    std::size_t Pings() const { return pings.size(); }
    const std::vector<xtf::DamagedStretch>& Damage() const { return damage; }
    // What the user should know: channels left out, ranges cut, positions not in degrees.
    const std::vector<std::string>& Notes() const { return notes; }

    // What the index keeps of each ping.
    struct IndexedPing {
        std::uint64_t offset = 0;          // of its packet
        double latitude = 0, longitude = 0;  // the last position in degrees at this ping
        bool positioned = false;
        std::uint16_t intervalMs = 0;  // since the ping before
    };

private:
    XtfRecordStream() = default;
    bool Index(std::string& error);
    void Encode(std::size_t k);
    // Each port and starboard channel of `ping` resampled into the line of its head.
    void FillLines();
    std::array<std::string, 10> Sentences(const IndexedPing& at) const;

    DataFile file;
    std::unique_ptr<svx::FileBytes> bytes;
    std::unique_ptr<xtf::Reader> reader;
    xtf::DisplayMap map;
    std::vector<IndexedPing> pings;
    std::vector<xtf::DamagedStretch> damage;
    std::vector<std::string> notes;
    int rangeM = 0;
    std::array<bool, kSideScanSlots> slots{};      // heads the file's channels fall on
    std::array<double, kSideScanSlots> slotKHz{};  // the first frequency seen on each
    std::uint32_t recordLength = 0;
    std::array<std::array<std::uint8_t, 2 * 1000>, kSideScanSlots> lines{};
    std::array<std::vector<std::uint8_t>, 2> sides;  // one channel's samples, nearest first
    std::vector<std::uint8_t> record;  // the record last encoded
    std::size_t encoded = static_cast<std::size_t>(-1);
    std::map<std::uint64_t, std::uint8_t> written;  // bytes playback wrote, by offset
    xtf::Ping ping;
};

}  // namespace rec
