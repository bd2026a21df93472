#pragma once
// What every export of a data file shares: how it reports progress and is cancelled, what it
// reports at the end, and the walk over the records of its input.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "datafiles/RecordIndex.h"

namespace svx {

// The products a data file is exported to.
enum class ExportKind { Xtf, GeoTiff, Kmz, Track, Events };

// Called now and then with the bytes of the input read so far and the input's length;
// returning false cancels the export (its output is removed).
using ExportProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// A stretch of the input stepped over because no record or packet could be read in it, as
// every reader of recordings reports it.
struct SkippedStretch {
    std::uint64_t offset = 0;
    std::uint64_t bytes = 0;
    std::string reason;  // what was found at the offset
};

struct ExportReport {
    std::uint64_t records = 0;           // records exported
    std::uint64_t withoutFix = 0;        // records whose sentences held no position
    std::uint64_t points = 0;            // track points or events written
    std::string summary;                 // what was written, in one line for the user
    std::vector<SkippedStretch> damage;  // stretches of the input stepped over
    std::vector<std::string> notes;      // what the user should know of a written output
    bool cancelled = false;
    std::string error;  // why nothing was written; empty when the output is complete
    bool Ok() const { return error.empty() && !cancelled; }
};

// Walks the records of the data file at `path` (see WalkRecords) and tells `progress` every
// few records; onRecord is not called after a cancel. False with "cannot open PATH: reason".
// onRecord returns false to stop the walk (the export failed): the rest is not read.
bool WalkDataFile(const std::string& path, const RecordVisitor& onRecord,
                  const ExportProgress& progress, ExportReport& report);

// "cannot write OUT: it is the data file being exported" when writing `output` would overwrite
// `input` (the same file under any name), else empty.
std::string SameFileProblem(const std::string& input, const std::string& output);

// "damaged record at offset N skipped (B bytes: reason)", the line the tools print.
std::string DamageLine(const SkippedStretch& stretch);
// The stretch as a reader of any recording reports it.
SkippedStretch Skipped(const DamagedStretch& stretch);

}  // namespace svx
