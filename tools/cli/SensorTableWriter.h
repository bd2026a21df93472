#pragma once
// The sensor table of `sonvara-cli render --sensors`: a header row, then one row for each
// record the playback stored, with the orientation converted (before smoothing) and as the
// instruments show it, and the altitude.

#include <cstdio>
#include <string>

class CVantrelDoc;

namespace cli {

class SensorTableWriter {
public:
    SensorTableWriter() = default;
    ~SensorTableWriter();
    SensorTableWriter(const SensorTableWriter&) = delete;
    SensorTableWriter& operator=(const SensorTableWriter&) = delete;

    // Creates the file and writes the header; false (with a reason) when it cannot.
    bool Open(const std::string& path, std::string& error);
    // The row of the record just stored (the newest of the ping history).
    void AddStoredRecord(const CVantrelDoc& doc);
    // Closes the file; false (with a reason) when a write failed.
    bool Close(std::string& error);

private:
    std::FILE* file = nullptr;
    std::string name;
    bool failed = false;
};

}  // namespace cli
