// Arbitrary bytes as a ".svx" data file, through the record codec alone and afresh for every
// input: the walk over the whole file (every field of every record read, every record encoded
// again and decoded), the record index and its look-ups, the scan for a record start from
// inside the file, and single records decoded with other head-block geometries.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "datafiles/RecordCodec.h"
#include "datafiles/RecordIndex.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Every field of a decoded record; the record made again from them decodes to the same layout.
void ReadAndEncodeAgain(const svx::RecordView& record, const svx::RecordGeometry& geometry) {
    svx::CycleSource cycle;
    cycle.pingNumber = record.PingNumber();
    cycle.samplesPerHalf = record.SamplesPerHalf();
    cycle.date = record.DateText();
    cycle.time = record.TimeText();
    cycle.millis = record.MillisText();
    cycle.headsInSystem = static_cast<std::uint8_t>(record.HeadsInSystem());
    for (int h = 0; h < 4; ++h) {
        if (!record.Layout().HasHead(h)) continue;
        svx::HeadSource& head = cycle.heads[h];
        head.present = true;
        head.frequencyHz = record.Frequency(h);
        head.range = record.Range(h);
        head.gainDb = record.Gain(h);
        head.transmitOffMask = record.TransmitOff(h);
        head.command = record.Command(h);
        head.replyHeader = record.ReplyHeader(h);
        head.line = record.Line(h);
        Check(record.LineLength(h) <= svx::kEchoLineLength);
    }
    cycle.sentenceSet = record.SentenceSet();
    cycle.orientationPresent = record.OrientationPresent();
    if (record.EventMark() & svx::kEventFlag) cycle.eventNumber = record.EventMark() & 0x7FFF;
    cycle.pingIntervalMs = record.PingIntervalMs();
    std::array<std::string, svx::kGpsSlotCount> sentences;
    record.Sentences(sentences);
    for (const std::string& sentence : sentences) Check(sentence.size() <= svx::kGpsSlotLength);
    cycle.sentences = &sentences;
    cycle.systemInfo = record.SystemInfoPresent() ? record.SystemInfo() : nullptr;

    std::vector<std::uint8_t> again(svx::kMaxRecordLength);
    const svx::RecordLayout layout = svx::EncodeRecord(cycle, again.data(), geometry);
    const svx::DecodedRecord decoded = svx::DecodeRecord(again.data(), layout.length, geometry);
    Check(decoded.Ok());
    Check(decoded.layout.length == record.Layout().length);
    Check(decoded.layout.headOffset == record.Layout().headOffset);
    Check(decoded.layout.gpsOffset == record.Layout().gpsOffset);
    Check(decoded.layout.systemInfoOffset == record.Layout().systemInfoOffset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    svx::MemoryBytes bytes(data, size);
    const svx::RecordGeometry geometry;
    std::uint64_t covered = 0;
    svx::WalkRecords(
        bytes, geometry,
        [&](std::uint64_t offset, const svx::RecordView& record) {
            Check(offset == covered && offset + record.Layout().length <= size);
            covered += record.Layout().length;
            ReadAndEncodeAgain(record, geometry);
            return true;
        },
        [&](const svx::DamagedStretch& stretch) {
            Check(stretch.offset == covered && stretch.bytes > 0);
            covered += stretch.bytes;
        });
    Check(covered == size);

    const svx::RecordIndex index = svx::IndexRecords(bytes, geometry);
    Check(index.Records().size() + index.Damage().size() > 0 || size == 0);
    for (const svx::IndexedRecord& record : index.Records()) {
        const svx::IndexedRecord* found = index.FindPing(record.ping);
        Check(found && found->ping == record.ping && found->offset <= record.offset);
        Check(index.FindOffset(record.offset + record.length - 1) == &record);
    }
    for (const std::uint64_t from :
         {std::uint64_t{0}, std::uint64_t{size / 3 + 1}, std::uint64_t{size / 2}}) {
        const auto start = svx::FindRecordStart(bytes, from, geometry);
        Check(!start || (*start >= from && *start + svx::kRecordHeaderLength <= size));
    }
    for (const svx::RecordGeometry other :
         {svx::RecordGeometry{0, 0}, svx::RecordGeometry{128, 7}}) {
        const svx::DecodedRecord decoded = svx::DecodeRecord(data, size, other);
        if (decoded.Ok()) ReadAndEncodeAgain(svx::RecordView(data, decoded.layout, other), other);
    }
    return 0;
}
