#include "export/ExportJob.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "datafiles/DataFile.h"

namespace svx {

namespace {
constexpr std::uint64_t kProgressEvery = 64;  // records between two progress calls
}

bool WalkDataFile(const std::string& path, const RecordVisitor& onRecord,
                  const ExportProgress& progress, ExportReport& report) {
    DataFile file;
    errno = 0;
    if (!file.Open(path, DataFile::Mode::Read)) {
        report.error = "cannot open " + path + ": " + std::strerror(errno ? errno : ENOENT);
        return false;
    }
    const std::uint64_t length = file.Length();
    FileBytes bytes(file, length);
    std::uint64_t seen = 0;
    RecordIndex damage;  // merges adjacent stretches as `info` lists them
    WalkRecords(
        bytes, RecordGeometry{},
        [&](std::uint64_t offset, const RecordView& record) {
            if (progress && ++seen % kProgressEvery == 0 && !progress(offset, length)) {
                report.cancelled = true;
                return false;
            }
            return onRecord(offset, record);
        },
        [&damage](const DamagedStretch& stretch) { damage.AddDamage(stretch); });
    for (const DamagedStretch& stretch : damage.Damage()) report.damage.push_back(Skipped(stretch));
    if (progress && !report.cancelled && !progress(length, length)) report.cancelled = true;
    return true;
}

std::string SameFileProblem(const std::string& input, const std::string& output) {
    std::error_code ec;
    if (!std::filesystem::equivalent(input, output, ec) || ec) return {};
    return "cannot write " + output + ": it is the data file being exported";
}

std::string DamageLine(const SkippedStretch& stretch) {
    return "damaged record at offset " + std::to_string(stretch.offset) + " skipped (" +
           std::to_string(stretch.bytes) + " bytes: " + stretch.reason + ")";
}

SkippedStretch Skipped(const DamagedStretch& stretch) {
    return {stretch.offset, stretch.bytes, DamageText(stretch.damage)};
}

}  // namespace svx
