#include "SensorTableWriter.h"

#include "acquisition/CVantrelDoc.h"
#include "sensors/OrientationFilter.h"
#include "sensors/SensorTable.h"

namespace cli {

SensorTableWriter::~SensorTableWriter() {
    if (file) std::fclose(file);
}

bool SensorTableWriter::Open(const std::string& path, std::string& error) {
    name = path;
    file = std::fopen(path.c_str(), "w");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    failed = std::fprintf(file, "%s\n", SensorTableHeader().c_str()) < 0;
    return true;
}

void SensorTableWriter::AddStoredRecord(const CVantrelDoc& doc) {
    if (!file) return;
    // The block is still in the echo sounder's line: converted again without the filters.
    const OrientationReadings raw = ConvertRawBlock(doc.heads[kHeadES].line.data() + kEchoSamples,
                                                    doc.orientation.compassDeclination);
    const HistoryRecord& record = doc.history.Record(doc.history.IndexBack(1));
    const std::string row = SensorTableRow(record.pingNumber, raw, doc.orientation.readings,
                                           doc.orientation.readings.altitudeM);
    failed |= std::fprintf(file, "%s\n", row.c_str()) < 0;
}

bool SensorTableWriter::Close(std::string& error) {
    if (!file) return true;
    failed |= std::fclose(file) != 0;
    file = nullptr;
    if (failed) error = "cannot write " + name;
    return !failed;
}

}  // namespace cli
