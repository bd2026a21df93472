#pragma once
// The sensor table of `sonvara-cli render --sensors`: a header row, then one row for each
// record the playback stored, with the orientation converted (before smoothing) and as the
// instruments show it, and the altitude.

#include <string>

#include "export/OutputFile.h"

class CVantrelDoc;

namespace cli {

class SensorTableWriter {
public:
    SensorTableWriter() = default;
    SensorTableWriter(const SensorTableWriter&) = delete;
    SensorTableWriter& operator=(const SensorTableWriter&) = delete;

    // Creates the file and writes the header; false (with a reason) when it cannot.
    bool Open(const std::string& path, std::string& error);
    // The row of the record just stored (the newest of the ping history).
    void AddStoredRecord(const CVantrelDoc& doc);
    // Closes the file; false (with a reason) when a write failed. A table that is not closed
    // (the render stopped on an error), or whose writing failed, is removed.
    bool Close(std::string& error);

private:
    void WriteLine(const std::string& line);

    svx::OutputFile file;
    bool open = false;
    std::string failure;  // the first write failure
};

}  // namespace cli
