#include "datafiles/DataFileScan.h"

#include "datafiles/DataFile.h"
#include "datafiles/RecordCodec.h"
#include "datafiles/RecordIndex.h"
#include "gps/GpsGaps.h"

using namespace svx;

namespace {

RecordSummary Summarise(std::uint64_t offset, const RecordView& record) {
    RecordSummary item;
    item.offset = offset;
    item.ping = record.PingNumber();
    item.length = record.Layout().length;
    for (int h = 0; h < 4; ++h) item.heads[h] = record.Layout().HasHead(h);
    item.systemInfo = record.SystemInfoPresent();
    item.intervalMs = record.PingIntervalMs();
    std::array<std::string, kGpsSlotCount> sentences;
    record.Sentences(sentences);
    item.gps = CarriesGpsSentences(sentences);
    const std::uint16_t mark = record.EventMark();
    if (mark & kEventFlag) item.event = mark & 0xFF;
    item.date = std::string(record.DateText());
    item.time = std::string(record.TimeText());
    const std::string_view millis = record.MillisText();
    if (!millis.empty()) item.time += "." + std::string(millis);
    for (int h = 0; h < 3; ++h) {
        if (item.heads[h] && !item.range) item.range = record.Range(h);
    }
    if (item.heads[3]) item.esRange = record.Range(3);
    return item;
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
    FileBytes bytes(file, summary.bytes);
    RecordIndex damage;
    WalkRecords(
        bytes, RecordGeometry{},
        [&summary](std::uint64_t offset, const RecordView& record) {
            summary.records.push_back(Summarise(offset, record));
            return true;
        },
        [&damage](const DamagedStretch& stretch) { damage.AddDamage(stretch); });
    summary.damage = damage.Damage();
    if (damage.Damaged()) summary.damagedOffset = summary.damage.front().offset;
    summary.damagedBytes = damage.DamagedBytes();
    return true;
}
