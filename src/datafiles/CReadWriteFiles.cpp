#include "datafiles/CReadWriteFiles.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

#include "acquisition/CVantrelDoc.h"
#include "common/ByteOrder.h"
#include "datafiles/DataRecordFormat.h"

using namespace svx;

namespace {

std::uint8_t Flag(std::int32_t value) {
    return value ? 1 : 0;
}

// Copies a text of at most n characters (stopping at its terminator) into out.
void PutText(std::uint8_t* out, const char* text, std::size_t n) {
    std::memcpy(out, text, strnlen(text, n));
}

}  // namespace

int CReadWriteFiles::CommandBytes() const {
    return std::clamp(doc.commandLength, 0, kCommandLength);
}

int CReadWriteFiles::ReplyHeaderBytes() const {
    return std::clamp(doc.replyHeaderLength, 0, kReplyHeaderLength);
}

int CReadWriteFiles::HeadBlockBytes() const {
    return HeadBlockLength(CommandBytes(), ReplyHeaderBytes());
}

std::int32_t CReadWriteFiles::NextRecordLength() const {
    std::int32_t length = kRecordHeaderLength + kGpsBlockLength;
    for (const HeadEntry& head : doc.heads) {
        if (head.available) length += HeadBlockBytes();
    }
    if (doc.systemInfoReceived) length += kSystemInfoBlockLength;
    return length;
}

// --- Writer --------------------------------------------------------------------------------

std::int32_t CReadWriteFiles::BuildRecord(std::uint8_t* out) {
    DataFileState& files = doc.files;
    const int blockBytes = HeadBlockBytes();
    int present = 0;
    for (const HeadEntry& head : doc.heads) present += head.available ? 1 : 0;
    files.recordLength = kRecordHeaderLength + blockBytes * present;
    files.gpsBlockOffset = files.recordLength;
    files.recordLength += kGpsBlockLength;
    files.systemInfoOffset = 0;
    if (doc.systemInfoReceived) {
        files.systemInfoOffset = files.recordLength;
        files.recordLength += kSystemInfoBlockLength;
    }
    std::memset(out, 0, static_cast<std::size_t>(files.recordLength));

    std::uint8_t* header = out;
    std::memcpy(header + kMagic, kMagicText, sizeof kMagicText);
    PutLe32(header + kPingNumber, static_cast<std::uint32_t>(doc.recording.pingNumber));
    PutLe32(header + kLength, static_cast<std::uint32_t>(files.recordLength));
    PutLe16(header + kSamplesPerHalf, static_cast<std::uint16_t>(files.samplesPerHalf));
    const CycleTime& clock = doc.cycleTime;
    PutText(header + kDate, clock.cycleDateText.data(), kDateLength - 1);
    PutText(header + kTime, clock.cycleClockText.data(), kTimeLength - 1);
    header[kMillisDot] = '.';
    // The milliseconds text is ".007": its digits without the dot.
    if (clock.cycleMillisText[0] == '.') {
        PutText(header + kMillis, clock.cycleMillisText.data() + 1, kMillisLength - 1);
    }
    header[kHeadsInSystem] = static_cast<std::uint8_t>(doc.headCount);
    for (int h = 0; h < kHeadCount; ++h) header[kHeadPresent + h] = Flag(doc.heads[h].available);
    header[kSentenceSet] = static_cast<std::uint8_t>((doc.gpsConfig.gpsSentenceSet & 3) * 16 + 4);
    PutLe16(header + kGpsOffset, static_cast<std::uint16_t>(files.gpsBlockOffset));
    header[kSystemInfoPresent] = Flag(doc.systemInfoReceived);
    PutLe16(header + kSystemInfoOffset, static_cast<std::uint16_t>(files.systemInfoOffset));
    header[kOrientationPresent] = Flag(doc.orientationPresent);
    if (files.eventMarkPending) {
        PutLe16(header + kEventMark,
                static_cast<std::uint16_t>(files.eventMarkNumber | kEventFlag));
        files.eventMarkPending = 0;
    }
    PutLe16(header + kConstant, kHeaderConstant);
    // An interval longer than the field holds is written as the longest it can say, not as
    // its low 16 bits (70 s would read back as 4.5 s).
    PutLe16(header + kPingInterval,
            static_cast<std::uint16_t>(std::clamp(files.recordedPingIntervalMs, 0, 0xFFFF)));

    int offset = kRecordHeaderLength;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!doc.heads[h].available) continue;
        WriteHeadBlock(h, out + offset);
        offset += blockBytes;
    }
    {
        // The GPS reader thread writes the sentences under this lock.
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        EncodeGpsBlock(doc.gps.recentSentences, out + offset);
    }
    offset += kGpsBlockLength;
    if (doc.systemInfoReceived) std::memcpy(out + offset, doc.systemInfo.data(), kSystemInfoLength);
    return files.recordLength;
}

void CReadWriteFiles::WriteHeadBlock(int head, std::uint8_t* out) const {
    const HeadEntry& entry = doc.heads[head];
    std::memset(out, 0, kHeadBlockHeaderLength);
    std::memcpy(out + kHeadSonar, "Sonar", 5);
    out[kHeadIndex] = static_cast<std::uint8_t>(head);
    PutLe16(out + kHeadLineLength, kEchoLineLength);
    PutLe32(out + kHeadFrequency, static_cast<std::uint32_t>(entry.frequencyHz));
    const std::int32_t range = head == kHeadES ? doc.esRange : doc.range;
    PutLe16(out + kHeadRange, static_cast<std::uint16_t>(range));
    out[kHeadGain] = static_cast<std::uint8_t>(entry.gainDb);
    out[kHeadTransmitOff] = entry.transmitOffMask;
    std::uint8_t* p = out + kHeadBlockHeaderLength;
    std::memcpy(p, entry.command.data(), static_cast<std::size_t>(CommandBytes()));
    p += CommandBytes();
    std::memcpy(p, entry.replyHeader.data(), static_cast<std::size_t>(ReplyHeaderBytes()));
    p += ReplyHeaderBytes();
    std::memcpy(p, entry.line.data(), kEchoLineLength);
}

bool CReadWriteFiles::WriteRecord() {
    std::array<std::uint8_t, kMaxRecordLength> record;
    const std::int32_t length = BuildRecord(record.data());
    DataFile& file = doc.recording.dataFile;
    if (!file.IsOpen()) return true;
    const std::uint64_t start = file.Position();
    if (file.Write(record.data(), static_cast<std::size_t>(length))) return true;
    file.Truncate(start);
    file.Seek(start);
    return false;
}

// --- Reader --------------------------------------------------------------------------------

RecordRead CReadWriteFiles::ReadRecord() {
    DataFileState& files = doc.files;
    DataFile& file = doc.playback.playbackFile;
    std::array<std::uint8_t, kRecordHeaderLength> header{};
    const std::size_t got = file.Read(header.data(), header.size());
    if (!HasMagic(header.data()) ||
        (got == header.size() && !IsRecordHeader(header.data(), HeadBlockBytes()))) {
        doc.Resynchronise(files.playbackPosition);
        return RecordRead::Damaged;
    }
    const std::uint32_t length = GetLe32(header.data() + kLength);
    std::array<std::uint8_t, kMaxRecordLength - kRecordHeaderLength> body;
    const std::size_t bodyLength = length - kRecordHeaderLength;
    if (got < header.size() || files.playbackPosition + length > files.playbackFileLength ||
        file.Read(body.data(), bodyLength) < bodyLength) {
        files.playbackPosition = std::max(files.playbackPosition, files.playbackFileLength);
        return RecordRead::Truncated;
    }

    ReadHeader(header.data());
    ApplyDisplayRules();
    const std::uint8_t* block = body.data();
    for (int h = 0; h < kHeadCount; ++h) {
        if (!doc.heads[h].available) continue;
        ReadHeadBlock(h, block);
        block += HeadBlockBytes();
    }
    if (files.gpsBlockOffset > 0) {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        DecodeGpsBlock(block, doc.gps.recentSentences);
        block += kGpsBlockLength;
    }
    if (doc.systemInfoReceived) {
        std::memcpy(doc.systemInfo.data(), block, kSystemInfoLength);
        const char* serial = reinterpret_cast<const char*>(block + headreturn::kSerial);
        doc.serialNumber.assign(serial, strnlen(serial, headreturn::kSerialLength));
    }
    return RecordRead::Record;
}

bool CReadWriteFiles::RecordStartsAt(std::uint64_t offset) {
    DataFile& file = doc.playback.playbackFile;
    std::array<std::uint8_t, kRecordHeaderLength> header{};
    if (!file.Seek(offset) || file.Read(header.data(), header.size()) < header.size()) {
        return false;
    }
    return IsRecordHeader(header.data(), HeadBlockBytes());
}

void CReadWriteFiles::ReadHeader(const std::uint8_t* header) {
    DataFileState& files = doc.files;
    doc.recording.pingNumber = static_cast<std::int32_t>(GetLe32(header + kPingNumber));
    if (files.captureFirstPing) {
        files.firstPingNumber = doc.recording.pingNumber;
        files.captureFirstPing = 0;
    }
    files.recordLength = static_cast<std::int32_t>(GetLe32(header + kLength));
    files.playbackPosition += static_cast<std::uint32_t>(files.recordLength);
    files.samplesPerHalf = GetLe16(header + kSamplesPerHalf);

    CycleTime& clock = doc.cycleTime;
    clock.cycleDateText.fill(0);
    std::memcpy(clock.cycleDateText.data(), header + kDate, kDateLength - 1);
    clock.cycleClockText.fill(0);
    std::memcpy(clock.cycleClockText.data(), header + kTime, kTimeLength - 1);
    ParseRecordTime();
    const char* millis = reinterpret_cast<const char*>(header + kMillis);
    const std::size_t digits = strnlen(millis, kMillisLength - 1);
    clock.milliseconds = static_cast<std::uint16_t>(DecimalValue(millis, static_cast<int>(digits)));
    clock.cycleMillisText.fill(0);
    clock.cycleMillisText[0] = '.';
    std::memcpy(clock.cycleMillisText.data() + 1, millis, digits);

    doc.headCount = header[kHeadsInSystem];
    for (int h = 0; h < kHeadCount; ++h) doc.heads[h].available = header[kHeadPresent + h];
    doc.gpsConfig.gpsSentenceSet = header[kSentenceSet] >> 4;
    files.gpsBlockOffset = GetLe16(header + kGpsOffset);
    doc.systemInfoReceived = header[kSystemInfoPresent];
    doc.orientationPresent = header[kOrientationPresent];
    files.playbackEventNumber = header[kEventMark];
    files.playbackEventFlag = (header[kEventMark + 1] >> 7) & 1;
    files.recordedPingIntervalMs = GetLe16(header + kPingInterval);
    // Image formation takes a played cycle's interval from here, as it was recorded.
    doc.history.pingIntervalMs = files.recordedPingIntervalMs;
}

void CReadWriteFiles::ApplyDisplayRules() {
    const bool l = doc.heads[kHeadL].available != 0;
    const bool m = doc.heads[kHeadM].available != 0;
    const bool h = doc.heads[kHeadH].available != 0;
    doc.threeFrequencySystem = 0;
    if (l && m && h) doc.threeFrequencySystem = 1;
    doc.displayChannelA = l ? kHeadL : kHeadM;
    doc.displayChannelB = l ? kHeadM : kHeadH;
    if (!m) {
        doc.displayChannelA = kHeadL;
        doc.displayChannelB = kHeadH;
    }
    if (doc.headCount == kHeadCount) {
        doc.threeFrequencySystem = 1;
        for (HeadEntry& head : doc.heads) head.available = 1;
    }
}

void CReadWriteFiles::ReadHeadBlock(int head, const std::uint8_t* block) {
    HeadEntry& entry = doc.heads[head];
    entry.frequencyHz = static_cast<std::int32_t>(GetLe32(block + kHeadFrequency));
    const std::int32_t range = GetLe16(block + kHeadRange);
    std::int32_t& current = head == kHeadES ? doc.esRange : doc.range;
    if (range != current) {
        current = range;
        if (doc.files.settingsChangeAlarm) doc.files.settingsChangeAlarm = 2;
    }
    // A block of another head: the rest of it is not this head's.
    if (block[kHeadIndex] != head) return;
    entry.gainDb = block[kHeadGain];
    entry.transmitOffMask = block[kHeadTransmitOff];
    const std::uint8_t* p = block + kHeadBlockHeaderLength;
    std::memcpy(entry.command.data(), p, static_cast<std::size_t>(CommandBytes()));
    p += CommandBytes();
    std::memcpy(entry.replyHeader.data(), p, static_cast<std::size_t>(ReplyHeaderBytes()));
    p += ReplyHeaderBytes();
    // The line occupies 2000 bytes of the block whatever its header says; a shorter stated
    // length leaves the rest of the head's line as it was.
    const std::size_t lineBytes =
        std::min<std::size_t>(GetLe16(block + kHeadLineLength), kEchoLineLength);
    std::memcpy(entry.line.data(), p, lineBytes);
}

void CReadWriteFiles::ParseRecordTime() {
    svx::ParseRecordTime(doc.cycleTime.cycleDateText.data(), doc.cycleTime.cycleClockText.data(),
                         doc.cycleTime);
}
