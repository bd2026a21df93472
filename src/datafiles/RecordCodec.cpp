#include "datafiles/RecordCodec.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/ByteOrder.h"
#include "datafiles/DataFile.h"

namespace svx {

namespace {

std::string_view TextAt(const std::uint8_t* p, std::size_t n) {
    const char* text = reinterpret_cast<const char*>(p);
    return {text, strnlen(text, n)};
}

// Copies the text up to its first NUL, at most n bytes (an empty view may have no data at all).
void PutText(std::uint8_t* out, std::string_view text, std::size_t n) {
    const std::size_t length = std::min(text.substr(0, text.find('\0')).size(), n);
    if (length) std::memcpy(out, text.data(), length);
}

DecodedRecord Damage(RecordDamage damage) {
    DecodedRecord result;
    result.damage = damage;
    return result;
}

}  // namespace

const char* DamageText(RecordDamage damage) {
    switch (damage) {
        case RecordDamage::None:
            return "no damage";
        case RecordDamage::NoMagic:
            return "no record starts here";
        case RecordDamage::HeadCount:
            return "head count out of range";
        case RecordDamage::HeadsUnlikeCount:
            return "head count unlike the presence flags";
        case RecordDamage::Length:
            return "record length unlike the layout";
        case RecordDamage::GpsOffset:
            return "GPS block offset unlike the layout";
        case RecordDamage::SystemInfoOffset:
            return "system-information offset unlike the layout";
        case RecordDamage::HeadBlock:
            return "head block without \"Sonar\" and its head";
        case RecordDamage::CutOff:
            return "record cut off by the end of the file";
    }
    return "damaged";
}

std::uint32_t RecordLength(int presentHeads, bool systemInfo, const RecordGeometry& geometry) {
    return static_cast<std::uint32_t>(kRecordHeaderLength +
                                      presentHeads * geometry.HeadBlockBytes() + kGpsBlockLength +
                                      (systemInfo ? kSystemInfoBlockLength : 0));
}

DecodedRecord DecodeHeader(const std::uint8_t* header, const RecordGeometry& geometry) {
    if (!HasMagic(header)) return Damage(RecordDamage::NoMagic);
    const int inSystem = header[kHeadsInSystem];
    if (inSystem > 4) return Damage(RecordDamage::HeadCount);
    int flagged = 0;
    for (int h = 0; h < 4; ++h) flagged += header[kHeadPresent + h] ? 1 : 0;
    // Four heads in the system make every head present, whatever the flags say.
    if (inSystem < 4 && flagged != inSystem) return Damage(RecordDamage::HeadsUnlikeCount);

    DecodedRecord result;
    RecordLayout& layout = result.layout;
    std::uint32_t offset = kRecordHeaderLength;
    for (int h = 0; h < 4; ++h) {
        if (inSystem != 4 && !header[kHeadPresent + h]) continue;
        layout.headOffset[h] = offset;
        offset += static_cast<std::uint32_t>(geometry.HeadBlockBytes());
    }
    layout.gpsOffset = offset;
    offset += kGpsBlockLength;
    const bool systemInfo = header[kSystemInfoPresent] != 0;
    if (systemInfo) {
        layout.systemInfoOffset = offset;
        offset += kSystemInfoBlockLength;
    }
    layout.length = offset;
    if (GetLe32(header + kLength) != layout.length) return Damage(RecordDamage::Length);
    if (GetLe16(header + kGpsOffset) != layout.gpsOffset) return Damage(RecordDamage::GpsOffset);
    if (GetLe16(header + kSystemInfoOffset) != layout.systemInfoOffset) {
        return Damage(RecordDamage::SystemInfoOffset);
    }
    result.damage = RecordDamage::None;
    return result;
}

bool IsRecordHeader(const std::uint8_t* header, int headBlockLength) {
    // Only the sum of the two lengths places the blocks.
    return DecodeHeader(header, {headBlockLength - kHeadBlockFixedLength, 0}).Ok();
}

DecodedRecord DecodeRecord(const std::uint8_t* bytes, std::size_t available,
                           const RecordGeometry& geometry) {
    if (available < kRecordHeaderLength) {
        return Damage(available >= sizeof kMagicText && HasMagic(bytes) ? RecordDamage::CutOff
                                                                        : RecordDamage::NoMagic);
    }
    DecodedRecord result = DecodeHeader(bytes, geometry);
    if (!result.Ok()) return result;
    if (available < result.layout.length) return Damage(RecordDamage::CutOff);
    for (int h = 0; h < 4; ++h) {
        if (!result.layout.HasHead(h)) continue;
        const std::uint8_t* block = bytes + result.layout.headOffset[h];
        if (std::memcmp(block + kHeadSonar, "Sonar", 5) != 0 || block[kHeadIndex] != h) {
            return Damage(RecordDamage::HeadBlock);
        }
    }
    return result;
}

// --- Fields ----------------------------------------------------------------------------------

std::uint32_t RecordView::PingNumber() const {
    return GetLe32(bytes + kPingNumber);
}
std::uint16_t RecordView::SamplesPerHalf() const {
    return GetLe16(bytes + kSamplesPerHalf);
}
std::string_view RecordView::DateText() const {
    return TextAt(bytes + kDate, kDateLength - 1);
}
std::string_view RecordView::TimeText() const {
    return TextAt(bytes + kTime, kTimeLength - 1);
}
std::string_view RecordView::MillisText() const {
    return TextAt(bytes + kMillis, kMillisLength - 1);
}
std::uint16_t RecordView::EventMark() const {
    return GetLe16(bytes + kEventMark);
}
std::uint16_t RecordView::PingIntervalMs() const {
    return GetLe16(bytes + kPingInterval);
}
std::uint32_t RecordView::Frequency(int head) const {
    return GetLe32(HeadBlock(head) + kHeadFrequency);
}
std::uint16_t RecordView::Range(int head) const {
    return GetLe16(HeadBlock(head) + kHeadRange);
}

std::size_t RecordView::LineLength(int head) const {
    return std::min<std::size_t>(GetLe16(HeadBlock(head) + kHeadLineLength), kEchoLineLength);
}

void RecordView::Sentences(std::array<std::string, kGpsSlotCount>& out) const {
    DecodeGpsBlock(bytes + blocks.gpsOffset, out);
}

// --- Writer ----------------------------------------------------------------------------------

namespace {

void EncodeHeadBlock(int head, const HeadSource& source, const RecordGeometry& geometry,
                     std::uint8_t* out) {
    std::memcpy(out + kHeadSonar, "Sonar", 5);
    out[kHeadIndex] = static_cast<std::uint8_t>(head);
    PutLe16(out + kHeadLineLength, kEchoLineLength);
    PutLe32(out + kHeadFrequency, source.frequencyHz);
    PutLe16(out + kHeadRange, source.range);
    out[kHeadGain] = source.gainDb;
    out[kHeadTransmitOff] = source.transmitOffMask;
    std::uint8_t* p = out + kHeadBlockHeaderLength;
    std::memcpy(p, source.command, static_cast<std::size_t>(geometry.commandLength));
    p += geometry.commandLength;
    std::memcpy(p, source.replyHeader, static_cast<std::size_t>(geometry.replyHeaderLength));
    p += geometry.replyHeaderLength;
    std::memcpy(p, source.line, kEchoLineLength);
}

void EncodeHeader(const CycleSource& cycle, const RecordLayout& layout, std::uint8_t* header) {
    std::memcpy(header + kMagic, kMagicText, sizeof kMagicText);
    PutLe32(header + kPingNumber, cycle.pingNumber);
    PutLe32(header + kLength, layout.length);
    PutLe16(header + kSamplesPerHalf, cycle.samplesPerHalf);
    PutText(header + kDate, cycle.date, kDateLength - 1);
    PutText(header + kTime, cycle.time, kTimeLength - 1);
    header[kMillisDot] = '.';
    PutText(header + kMillis, cycle.millis, kMillisLength - 1);
    header[kHeadsInSystem] = cycle.headsInSystem;
    for (int h = 0; h < 4; ++h) header[kHeadPresent + h] = cycle.heads[h].present ? 1 : 0;
    header[kSentenceSet] = static_cast<std::uint8_t>((cycle.sentenceSet & 3) * 16 + 4);
    PutLe16(header + kGpsOffset, static_cast<std::uint16_t>(layout.gpsOffset));
    header[kSystemInfoPresent] = layout.systemInfoOffset ? 1 : 0;
    PutLe16(header + kSystemInfoOffset, static_cast<std::uint16_t>(layout.systemInfoOffset));
    header[kOrientationPresent] = cycle.orientationPresent ? 1 : 0;
    if (cycle.eventNumber) {
        PutLe16(header + kEventMark, static_cast<std::uint16_t>(*cycle.eventNumber | kEventFlag));
    }
    PutLe16(header + kConstant, kHeaderConstant);
    PutLe16(header + kPingInterval, cycle.pingIntervalMs);
}

}  // namespace

RecordLayout EncodeRecord(const CycleSource& cycle, std::uint8_t* out,
                          const RecordGeometry& geometry) {
    RecordLayout layout;
    std::uint32_t offset = kRecordHeaderLength;
    for (int h = 0; h < 4; ++h) {
        if (!cycle.heads[h].present) continue;
        layout.headOffset[h] = offset;
        offset += static_cast<std::uint32_t>(geometry.HeadBlockBytes());
    }
    layout.gpsOffset = offset;
    offset += kGpsBlockLength;
    if (cycle.systemInfo) {
        layout.systemInfoOffset = offset;
        offset += kSystemInfoBlockLength;
    }
    layout.length = offset;
    std::memset(out, 0, layout.length);
    EncodeHeader(cycle, layout, out);
    for (int h = 0; h < 4; ++h) {
        if (layout.HasHead(h))
            EncodeHeadBlock(h, cycle.heads[h], geometry, out + layout.headOffset[h]);
    }
    static const std::array<std::string, kGpsSlotCount> kNoSentences;
    EncodeGpsBlock(cycle.sentences ? *cycle.sentences : kNoSentences, out + layout.gpsOffset);
    if (cycle.systemInfo) {
        std::memcpy(out + layout.systemInfoOffset, cycle.systemInfo, kSystemInfoBlockLength);
    }
    return layout;
}

// --- Bytes and the scan ----------------------------------------------------------------------

std::size_t MemoryBytes::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) {
    if (offset >= size) return 0;
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(n, size - offset));
    std::memcpy(out, data + offset, count);
    return count;
}

std::size_t FileBytes::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) {
    if (offset >= length) return 0;
    return file.ReadAt(offset, out,
                       static_cast<std::size_t>(std::min<std::uint64_t>(n, length - offset)));
}

std::optional<std::uint64_t> FindRecordStart(ByteSource& source, std::uint64_t from,
                                             const RecordGeometry& geometry) {
    constexpr std::size_t kChunk = 64 * 1024;
    std::vector<std::uint8_t> chunk(kChunk);
    std::array<std::uint8_t, kRecordHeaderLength> header;
    const std::uint64_t end = source.Size();
    std::uint64_t at = from;
    while (at + kRecordHeaderLength <= end) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end - at));
        const std::size_t got = source.ReadAt(at, chunk.data(), want);
        if (got < sizeof kMagicText) break;
        // A magic that runs past this chunk is looked at again from the next one.
        const std::size_t scan = got - 2;
        const std::uint8_t* p = chunk.data();
        for (std::size_t i = 0; i < scan; ++i) {
            const void* s = std::memchr(p + i, 's', scan - i);
            if (!s) break;
            i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(s) - p);
            if (p[i + 1] != 'v' || p[i + 2] != 'x') continue;
            const std::uint8_t* candidate = p + i;
            if (i + kRecordHeaderLength > got) {
                if (source.ReadAt(at + i, header.data(), header.size()) < header.size()) continue;
                candidate = header.data();
            }
            if (DecodeHeader(candidate, geometry).Ok()) return at + i;
        }
        if (got < want) break;
        at += scan;
    }
    return std::nullopt;
}

}  // namespace svx
