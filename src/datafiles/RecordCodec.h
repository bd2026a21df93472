#pragma once
// The one codec of ".svx" records: a cycle encoded into a record buffer, a record buffer
// decoded into the places of its blocks (or the reason it is damaged), and the scan for the
// next record start. It needs no document: the recorder and the playback move values between
// the document and these buffers, `sonvara-cli info` and the record index read the buffers
// alone.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "datafiles/DataRecordFormat.h"

class DataFile;

namespace svx {

// The lengths of a head block's switch command and reply header. They are not stored in the
// file: writer and reader both take them from the document (128 each).
struct RecordGeometry {
    int commandLength = 128;
    int replyHeaderLength = 128;
    int HeadBlockBytes() const { return HeadBlockLength(commandLength, replyHeaderLength); }
};

// Why bytes are not a readable record.
enum class RecordDamage {
    None,
    NoMagic,           // no "svx" at the start
    HeadCount,         // a head count above four
    HeadsUnlikeCount,  // fewer than four heads in the system, and as many presence flags not set
    Length,            // the length field disagrees with the blocks the header announces
    GpsOffset,         // the GPS block is not where the layout puts it
    SystemInfoOffset,  // the system-information block is not where the layout puts it
    HeadBlock,         // a head block without "Sonar" and its own head number
    CutOff,            // the bytes end inside the record
};
const char* DamageText(RecordDamage damage);

// Where the blocks of a record lie, as offsets from its start (0: the block is absent).
struct RecordLayout {
    std::uint32_t length = 0;
    std::array<std::uint32_t, 4> headOffset{};
    std::uint32_t gpsOffset = 0;
    std::uint32_t systemInfoOffset = 0;
    bool HasHead(int head) const { return headOffset[head] != 0; }
};

struct DecodedRecord {
    RecordDamage damage = RecordDamage::NoMagic;
    RecordLayout layout;
    bool Ok() const { return damage == RecordDamage::None; }
};

// Checks the 256 header bytes alone: a header that can start a record.
DecodedRecord DecodeHeader(const std::uint8_t* header, const RecordGeometry& geometry = {});
// A whole 256-byte header can start a record (DecodeHeader for a head block of this length).
// A length that disagrees with the layout cannot be followed safely: 0 would replay the same
// record for ever, anything else lands inside a record.
bool IsRecordHeader(const std::uint8_t* header, int headBlockLength = kStandardHeadBlockLength);
// Checks a whole record: its header, that all of it is among the `available` bytes, and that
// every head block is the block of its head.
DecodedRecord DecodeRecord(const std::uint8_t* bytes, std::size_t available,
                           const RecordGeometry& geometry = {});

// The fields of a decoded record (bytes of at least layout.length).
class RecordView {
public:
    RecordView(const std::uint8_t* record, const RecordLayout& layout, const RecordGeometry& g)
        : bytes(record), blocks(layout), geometry(g) {}

    const RecordLayout& Layout() const { return blocks; }
    std::uint32_t PingNumber() const;
    std::uint16_t SamplesPerHalf() const;
    std::string_view DateText() const;    // "03-JUL-2025"
    std::string_view TimeText() const;    // "14:05:09"
    std::string_view MillisText() const;  // "007"
    int HeadsInSystem() const { return bytes[kHeadsInSystem]; }
    // The presence byte as stored (a reader takes its value).
    std::uint8_t PresenceByte(int head) const { return bytes[kHeadPresent + head]; }
    int SentenceSet() const { return bytes[kSentenceSet] >> 4; }
    bool SystemInfoPresent() const { return blocks.systemInfoOffset != 0; }
    bool OrientationPresent() const { return bytes[kOrientationPresent] != 0; }
    std::uint16_t EventMark() const;
    std::uint16_t PingIntervalMs() const;

    // Head block fields; the head must be present.
    std::uint32_t Frequency(int head) const;
    std::uint16_t Range(int head) const;
    std::uint8_t Gain(int head) const { return HeadBlock(head)[kHeadGain]; }
    std::uint8_t TransmitOff(int head) const { return HeadBlock(head)[kHeadTransmitOff]; }
    const std::uint8_t* Command(int head) const { return HeadBlock(head) + kHeadBlockHeaderLength; }
    const std::uint8_t* ReplyHeader(int head) const {
        return Command(head) + geometry.commandLength;
    }
    const std::uint8_t* Line(int head) const {
        return ReplyHeader(head) + geometry.replyHeaderLength;
    }
    // The stated line length, never more than the 2000 bytes the line occupies.
    std::size_t LineLength(int head) const;

    void Sentences(std::array<std::string, kGpsSlotCount>& out) const;
    const std::uint8_t* SystemInfo() const { return bytes + blocks.systemInfoOffset; }

private:
    const std::uint8_t* HeadBlock(int head) const { return bytes + blocks.headOffset[head]; }

    const std::uint8_t* bytes;
    RecordLayout blocks;
    RecordGeometry geometry;
};

// One head's values as the writer stores them.
struct HeadSource {
    bool present = false;
    std::uint32_t frequencyHz = 0;
    std::uint16_t range = 0;
    std::uint8_t gainDb = 0;
    std::uint8_t transmitOffMask = 0;
    const std::uint8_t* command = nullptr;      // geometry.commandLength bytes
    const std::uint8_t* replyHeader = nullptr;  // geometry.replyHeaderLength bytes
    const std::uint8_t* line = nullptr;         // kEchoLineLength bytes
};

// A cycle as the writer stores it.
struct CycleSource {
    std::uint32_t pingNumber = 0;
    std::uint16_t samplesPerHalf = 1000;
    std::string_view date, time, millis;  // "03-JUL-2025", "14:05:09", "007"
    std::uint8_t headsInSystem = 0;
    std::array<HeadSource, 4> heads;
    int sentenceSet = 0;
    bool orientationPresent = false;
    std::optional<int> eventNumber;  // the record carries this event's mark
    std::uint16_t pingIntervalMs = 0;
    const std::array<std::string, kGpsSlotCount>* sentences = nullptr;
    const std::uint8_t* systemInfo = nullptr;  // kSystemInfoBlockLength bytes, or none
};

// The length of the record of a cycle with these blocks.
std::uint32_t RecordLength(int presentHeads, bool systemInfo, const RecordGeometry& geometry);
// Encodes the cycle into out (at least kMaxRecordLength bytes); returns where its blocks are.
RecordLayout EncodeRecord(const CycleSource& cycle, std::uint8_t* out,
                          const RecordGeometry& geometry = {});

// Bytes of a file, read at an offset without moving anything.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    virtual std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) = 0;
    // Changes bytes within the source; false (nothing changed) for a source that keeps none.
    virtual bool WriteAt(std::uint64_t /*offset*/, const std::uint8_t* /*data*/, std::size_t /*n*/) {
        return false;
    }
};

class MemoryBytes : public ByteSource {
public:
    MemoryBytes(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    std::uint64_t Size() const override { return size; }
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) override;

private:
    const std::uint8_t* data;
    std::size_t size;
};

// An open data file up to the given length (the length it had when it was opened).
class FileBytes : public ByteSource {
public:
    FileBytes(DataFile& file, std::uint64_t length) : file(file), length(length) {}
    std::uint64_t Size() const override { return length; }
    std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) override;

private:
    DataFile& file;
    std::uint64_t length;
};

// The first offset at or after `from` where a header that can start a record lies, or
// nothing before the end of the source.
std::optional<std::uint64_t> FindRecordStart(ByteSource& source, std::uint64_t from,
                                             const RecordGeometry& geometry = {});

}  // namespace svx
