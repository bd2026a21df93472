#include "document/CReadWriteFiles.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>
#include <string_view>

#include "document/CVantrelDoc.h"

using namespace svx;

namespace {

template <std::size_t N>
std::string_view TextOf(const std::array<char, N>& text, std::size_t from = 0) {
    return {text.data() + from, strnlen(text.data() + from, N - from)};
}

template <std::size_t N>
void SetText(std::array<char, N>& out, std::string_view text, std::size_t from = 0) {
    out.fill(0);
    std::memcpy(out.data() + from, text.data(), std::min(text.size(), N - 1 - from));
}

}  // namespace

RecordGeometry CReadWriteFiles::Geometry() const {
    return {std::clamp(doc.commandLength, 0, kCommandLength),
            std::clamp(doc.replyHeaderLength, 0, kReplyHeaderLength)};
}

std::int32_t CReadWriteFiles::NextRecordLength() const {
    int present = 0;
    for (int h = 0; h < kHeadCount; ++h) present += doc.HeadHasData(h) ? 1 : 0;
    return static_cast<std::int32_t>(
        RecordLength(present, doc.systemInfoReceived != 0, Geometry()));
}

// --- Writer --------------------------------------------------------------------------------

CycleSource CReadWriteFiles::CurrentCycle(bool withSentences) const {
    const DataFileState& files = doc.files;
    CycleSource cycle;
    cycle.pingNumber = static_cast<std::uint32_t>(doc.recording.pingNumber);
    cycle.samplesPerHalf = static_cast<std::uint16_t>(files.samplesPerHalf);
    const CycleTime& clock = doc.cycleTime;
    cycle.date = TextOf(clock.cycleDateText);
    cycle.time = TextOf(clock.cycleClockText);
    // The milliseconds text is ".007": its digits without the dot.
    if (clock.cycleMillisText[0] == '.') cycle.millis = TextOf(clock.cycleMillisText, 1);
    // A head left out of polling is absent from the record, as in a file of an installation
    // without it: the record counts only the heads it holds.
    int present = 0;
    bool leftOut = false;
    for (int h = 0; h < kHeadCount; ++h) {
        present += doc.HeadHasData(h) ? 1 : 0;
        leftOut |= doc.heads[h].available && !doc.HeadHasData(h);
    }
    cycle.headsInSystem = static_cast<std::uint8_t>(leftOut ? present : doc.headCount);
    for (int h = 0; h < kHeadCount; ++h) {
        const HeadEntry& entry = doc.heads[h];
        HeadSource& head = cycle.heads[h];
        head.present = doc.HeadHasData(h);
        head.frequencyHz = static_cast<std::uint32_t>(entry.frequencyHz);
        head.range = static_cast<std::uint16_t>(h == kHeadES ? doc.esRange : doc.range);
        head.gainDb = static_cast<std::uint8_t>(entry.gainDb);
        head.transmitOffMask = entry.transmitOffMask;
        head.command = entry.command.data();
        head.replyHeader = entry.replyHeader.data();
        head.line = entry.line.data();
    }
    cycle.sentenceSet = doc.gpsConfig.gpsSentenceSet;
    // The orientation block comes with the echo sounder's line.
    cycle.orientationPresent =
        doc.orientationPresent != 0 && (!doc.heads[kHeadES].available || doc.HeadHasData(kHeadES));
    if (files.eventMarkPending) cycle.eventNumber = files.eventMarkNumber;
    // An interval longer than the field holds is written as the longest it can say, not as
    // its low 16 bits (70 s would read back as 4.5 s).
    cycle.pingIntervalMs =
        static_cast<std::uint16_t>(std::clamp(files.recordedPingIntervalMs, 0, 0xFFFF));
    if (withSentences) cycle.sentences = &doc.gps.recentSentences;
    cycle.systemInfo = doc.systemInfoReceived ? doc.systemInfo.data() : nullptr;
    return cycle;
}

std::int32_t CReadWriteFiles::BuildRecord(std::uint8_t* out) {
    DataFileState& files = doc.files;
    // In real time, sentences older than the GPS threshold are not written again as if new:
    // the record's GPS block stays empty. A copy keeps what the played record carried.
    const bool withSentences = doc.playbackMode || doc.GpsSentencesCurrent();
    files.gpsBlockLeftEmpty = !withSentences;
    const CycleSource cycle = CurrentCycle(withSentences);
    RecordLayout layout;
    {
        // The GPS reader thread writes the sentences under this lock.
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        layout = EncodeRecord(cycle, out, Geometry());
    }
    files.eventMarkPending = 0;
    files.recordLength = static_cast<std::int32_t>(layout.length);
    files.gpsBlockOffset = static_cast<std::int32_t>(layout.gpsOffset);
    files.systemInfoOffset = static_cast<std::int32_t>(layout.systemInfoOffset);
    return files.recordLength;
}

bool CReadWriteFiles::WriteRecord() {
    std::array<std::uint8_t, kMaxRecordLength> record;
    const std::int32_t length = BuildRecord(record.data());
    DataFile& file = doc.recording.dataFile;
    if (!file.IsOpen()) return true;
    const std::uint64_t start = file.Position();
    if (file.Write(record.data(), static_cast<std::size_t>(length))) {
        doc.recording.index.Add({start, static_cast<std::uint32_t>(length),
                                 static_cast<std::uint32_t>(doc.recording.pingNumber)});
        if (doc.files.gpsBlockLeftEmpty) ++doc.recording.recordsWithoutGps;
        return true;
    }
    file.Truncate(start);
    file.Seek(start);
    return false;
}

// --- Reader --------------------------------------------------------------------------------

RecordRead CReadWriteFiles::ReadRecord() {
    DataFileState& files = doc.files;
    DataFile& file = doc.playback.playbackFile;
    // Only the bytes read are looked at.
    std::array<std::uint8_t, kMaxRecordLength> record;
    const std::size_t got = file.Read(record.data(), kRecordHeaderLength);
    const DecodedRecord header = got == kRecordHeaderLength
                                     ? DecodeHeader(record.data(), Geometry())
                                     : DecodeRecord(record.data(), got, Geometry());
    if (header.damage != RecordDamage::None && header.damage != RecordDamage::CutOff) {
        files.lastDamage = header.damage;
        return RecordRead::Damaged;
    }
    const std::size_t bodyLength = header.layout.length - kRecordHeaderLength;
    if (header.damage == RecordDamage::CutOff ||
        files.playbackPosition + header.layout.length > files.playbackFileLength ||
        file.Read(record.data() + kRecordHeaderLength, bodyLength) < bodyLength) {
        files.lastDamage = RecordDamage::CutOff;
        files.playbackPosition = std::max(files.playbackPosition, files.playbackFileLength);
        return RecordRead::Truncated;
    }
    const DecodedRecord whole = DecodeRecord(record.data(), header.layout.length, Geometry());
    if (!whole.Ok()) {
        files.lastDamage = whole.damage;
        return RecordRead::Damaged;
    }
    TakeRecord(RecordView(record.data(), whole.layout, Geometry()));
    return RecordRead::Record;
}

void CReadWriteFiles::TakeRecord(const RecordView& record) {
    ReadHeader(record);
    ApplyDisplayRules();
    for (int h = 0; h < kHeadCount; ++h) {
        if (doc.heads[h].available) doc.playback.headsSeen[h] = true;
    }
    for (int h = 0; h < kHeadCount; ++h) {
        if (doc.heads[h].available) ReadHeadBlock(h, record);
    }
    {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        record.Sentences(doc.gps.recentSentences);
    }
    if (doc.systemInfoReceived) {
        std::memcpy(doc.systemInfo.data(), record.SystemInfo(), kSystemInfoLength);
        const char* serial =
            reinterpret_cast<const char*>(record.SystemInfo() + headreturn::kSerial);
        doc.serialNumber.assign(serial, strnlen(serial, headreturn::kSerialLength));
    }
}

void CReadWriteFiles::ReadHeader(const RecordView& record) {
    DataFileState& files = doc.files;
    doc.recording.pingNumber = static_cast<std::int32_t>(record.PingNumber());
    if (files.captureFirstPing) {
        files.firstPingNumber = doc.recording.pingNumber;
        files.captureFirstPing = 0;
    }
    files.recordLength = static_cast<std::int32_t>(record.Layout().length);
    files.playbackPosition += record.Layout().length;
    files.samplesPerHalf = record.SamplesPerHalf();

    CycleTime& clock = doc.cycleTime;
    SetText(clock.cycleDateText, record.DateText());
    SetText(clock.cycleClockText, record.TimeText());
    ParseRecordTime();
    const std::string_view millis = record.MillisText();
    clock.milliseconds =
        static_cast<std::uint16_t>(DecimalValue(millis.data(), static_cast<int>(millis.size())));
    SetText(clock.cycleMillisText, millis, 1);
    clock.cycleMillisText[0] = '.';

    doc.headCount = record.HeadsInSystem();
    for (int h = 0; h < kHeadCount; ++h) doc.heads[h].available = record.PresenceByte(h);
    doc.gpsConfig.gpsSentenceSet = record.SentenceSet();
    files.gpsBlockOffset = static_cast<std::int32_t>(record.Layout().gpsOffset);
    doc.systemInfoReceived = record.SystemInfoPresent() ? 1 : 0;
    doc.orientationPresent = record.OrientationPresent() ? 1 : 0;
    files.playbackEventNumber = record.EventMark() & 0xFF;
    files.playbackEventFlag = (record.EventMark() & kEventFlag) ? 1 : 0;
    files.recordedPingIntervalMs = record.PingIntervalMs();
    // Image formation takes a played cycle's interval from here, as it was recorded.
    doc.history.pingIntervalMs = files.recordedPingIntervalMs;
}

void CReadWriteFiles::ApplyDisplayRules() {
    // A head of the file that this record lacks keeps its place on the screen.
    const auto inFile = [this](int head) {
        return doc.heads[head].available != 0 || doc.playback.headsSeen[head];
    };
    const bool l = inFile(kHeadL);
    const bool m = inFile(kHeadM);
    const bool h = inFile(kHeadH);
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

void CReadWriteFiles::ReadHeadBlock(int head, const RecordView& record) {
    HeadEntry& entry = doc.heads[head];
    entry.frequencyHz = static_cast<std::int32_t>(record.Frequency(head));
    const std::int32_t range = record.Range(head);
    std::int32_t& current = head == kHeadES ? doc.esRange : doc.range;
    if (range != current) {
        current = range;
        if (doc.files.settingsChangeAlarm) doc.files.settingsChangeAlarm = 2;
    }
    entry.gainDb = record.Gain(head);
    entry.transmitOffMask = record.TransmitOff(head);
    const RecordGeometry geometry = Geometry();
    std::memcpy(entry.command.data(), record.Command(head),
                static_cast<std::size_t>(geometry.commandLength));
    std::memcpy(entry.replyHeader.data(), record.ReplyHeader(head),
                static_cast<std::size_t>(geometry.replyHeaderLength));
    // The line occupies 2000 bytes of the block whatever its header says; a shorter stated
    // length leaves the rest of the head's line as it was.
    std::memcpy(entry.line.data(), record.Line(head), record.LineLength(head));
}

void CReadWriteFiles::ParseRecordTime() {
    svx::ParseRecordTime(doc.cycleTime.cycleDateText.data(), doc.cycleTime.cycleClockText.data(),
                         doc.cycleTime);
}
