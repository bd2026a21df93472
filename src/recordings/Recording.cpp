#include "recordings/Recording.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "acquisition/HeadTable.h"
#include "common/RegularFile.h"
#include "datafiles/DataFileNames.h"
#include "datafiles/XtfReader.h"

namespace rec {

namespace {

bool EndsWithNoCase(const std::string& name, const char* ending) {
    const std::size_t n = std::strlen(ending);
    if (name.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = name[name.size() - n + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != ending[i]) return false;
    }
    return true;
}

// A data file starts its first record with "svx"; one whose start is damaged is still known
// by its name.
bool ClaimsSvx(const std::string& path, const std::string& first) {
    return first.rfind("svx", 0) == 0 || HasSvxEnding(path);
}

// An XTF file starts with its FileFormat mark; a file named ".xtf" is read as XTF whatever it
// starts with, so that a wrong start is said as such.
bool ClaimsXtf(const std::string& path, const std::string& first) {
    return (!first.empty() && static_cast<std::uint8_t>(first[0]) == xtf::kFileFormatMark) ||
           EndsWithNoCase(path, ".xtf");
}

}  // namespace

const std::vector<RecordingFormat>& RecordingFormats() {
    static const std::vector<RecordingFormat> formats = {
        {"svx", ClaimsSvx, OpenSvxRecording},
        {"xtf", ClaimsXtf, OpenXtfRecording},
    };
    return formats;
}

std::unique_ptr<RecordingReader> OpenRecording(const std::string& path, std::string& error) {
    std::string first;
    if (!ReadRegularFile(path, first, error, 16)) return nullptr;
    for (const RecordingFormat& format : RecordingFormats()) {
        if (format.claims(path, first)) return format.open(path);
    }
    error = path + " is neither a data file (.svx) nor an XTF file (.xtf)";
    return nullptr;
}

int NearestSlot(double kHz) {
    int best = kHeadL;
    double bestRatio = std::numeric_limits<double>::infinity();
    for (int head = kHeadL; head <= kHeadH; ++head) {
        const double nominal = InitialHeadFrequencyHz(head) / 1000.0;
        const double ratio = kHz > 0 ? std::fabs(std::log(kHz / nominal)) : head;
        if (ratio < bestRatio) {
            best = head;
            bestRatio = ratio;
        }
    }
    return best;
}

}  // namespace rec
