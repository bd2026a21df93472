#include "SensorTableWriter.h"

#include "document/CVantrelDoc.h"
#include "sensors/OrientationFilter.h"
#include "sensors/SensorTable.h"

namespace cli {

bool SensorTableWriter::Open(const std::string& path, std::string& error) {
    open = file.Open(path, error);
    if (open) WriteLine(SensorTableHeader());
    return open;
}

void SensorTableWriter::WriteLine(const std::string& line) {
    if (!failure.empty()) return;
    const std::string text = line + "\n";
    file.Write(text.data(), text.size(), failure);
}

void SensorTableWriter::AddStoredRecord(const CVantrelDoc& doc) {
    if (!open) return;
    const HistoryRecord& record = doc.history.Record(doc.history.IndexBack(1));
    const OrientationReadings& shown = doc.orientation.readings;
    if (!doc.orientationPresent) {
        // No sensor: the echo sounder's line holds no orientation block to convert.
        WriteLine(SensorTableRowWithoutSensor(record.pingNumber, shown, shown.altitudeM));
        return;
    }
    // The block is still in the echo sounder's line: converted again without the filters.
    const OrientationReadings raw = ConvertRawBlock(doc.heads[kHeadES].line.data() + kEchoSamples,
                                                    doc.orientation.compassDeclination);
    WriteLine(SensorTableRow(record.pingNumber, raw, shown, shown.altitudeM));
}

bool SensorTableWriter::Close(std::string& error) {
    if (!open) return true;
    open = false;
    if (failure.empty()) return file.Commit(error);
    error = failure;
    return false;
}

}  // namespace cli
