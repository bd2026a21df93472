#include "datafiles/DataFileScan.h"

#include <cstring>

#include "common/ByteOrder.h"
#include "datafiles/DataFile.h"
#include "datafiles/DataRecordFormat.h"

using namespace svx;

namespace {

std::string Text(const std::uint8_t* p, std::size_t n) {
    const char* text = reinterpret_cast<const char*>(p);
    return std::string(text, strnlen(text, n));
}

RecordSummary Summarise(std::uint64_t offset, const std::uint8_t* record) {
    RecordSummary item;
    item.offset = offset;
    item.ping = GetLe32(record + kPingNumber);
    item.length = GetLe32(record + kLength);
    item.heads = PresentHeads(record);
    item.systemInfo = record[kSystemInfoPresent] != 0;
    item.intervalMs = GetLe16(record + kPingInterval);
    const std::uint16_t mark = GetLe16(record + kEventMark);
    if (mark & kEventFlag) item.event = record[kEventMark];
    item.date = Text(record + kDate, kDateLength - 1);
    item.time = Text(record + kTime, kTimeLength - 1);
    if (record[kMillis]) item.time += "." + Text(record + kMillis, kMillisLength - 1);
    const std::uint8_t* block = record + kRecordHeaderLength;
    for (int h = 0; h < 4; ++h) {
        if (!item.heads[h]) continue;
        const int range = GetLe16(block + kHeadRange);
        if (h == 3) {
            item.esRange = range;
        } else if (!item.range) {
            item.range = range;
        }
        block += kStandardHeadBlockLength;
    }
    return item;
}

// The next offset after `from` where a whole record header starts, or the file's length.
std::uint64_t NextRecordStart(DataFile& file, std::uint64_t from, std::uint64_t length) {
    std::vector<std::uint8_t> chunk(64 * 1024);
    std::uint64_t at = from;
    while (at < length) {
        file.Seek(at);
        const std::size_t got = file.Read(chunk.data(), chunk.size());
        if (got == 0) break;
        const std::size_t scan = got < 3 ? got : got - 2;
        for (std::size_t i = 0; i < scan; ++i) {
            if (chunk[i] != 's' || chunk[i + 1] != 'v' || chunk[i + 2] != 'x') continue;
            std::array<std::uint8_t, kRecordHeaderLength> header{};
            file.Seek(at + i);
            if (file.Read(header.data(), header.size()) == header.size() &&
                IsRecordHeader(header.data(), kStandardHeadBlockLength)) {
                return at + i;
            }
        }
        at += scan;
        if (got < chunk.size()) break;
    }
    return length;
}

}  // namespace

bool ScanDataFile(const std::string& path, DataFileSummary& summary, std::string& error) {
    summary = DataFileSummary{};
    DataFile file;
    if (!file.Open(path, DataFile::Mode::Read)) {
        error = "cannot open " + path;
        return false;
    }
    summary.bytes = file.Length();
    std::vector<std::uint8_t> record(kMaxRecordLength);
    std::uint64_t at = 0;
    while (at < summary.bytes) {
        file.Seek(at);
        const std::size_t got = file.Read(record.data(), kRecordHeaderLength);
        const std::uint32_t length = GetLe32(record.data() + kLength);
        const bool whole =
            got == kRecordHeaderLength && IsRecordHeader(record.data(), kStandardHeadBlockLength) &&
            at + length <= summary.bytes &&
            file.Read(record.data() + kRecordHeaderLength, length - kRecordHeaderLength) ==
                length - kRecordHeaderLength;
        if (whole) {
            summary.records.push_back(Summarise(at, record.data()));
            at += length;
            continue;
        }
        if (!summary.damagedOffset) summary.damagedOffset = at;
        const std::uint64_t next = NextRecordStart(file, at + 1, summary.bytes);
        summary.damagedBytes += next - at;
        at = next;
    }
    return true;
}
