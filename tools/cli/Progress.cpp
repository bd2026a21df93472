#include "Progress.h"

#include <algorithm>
#include <cmath>

namespace cli {

std::optional<std::string> ProgressMeter::Update(long long done, long long total, double seconds) {
    if (seconds < delay || (shown && seconds - lastShown < period)) return std::nullopt;
    shown = true;
    lastShown = seconds;
    return FormatProgressLine(what, done, total, seconds > 0 ? done / seconds : 0.0);
}

std::string FormatProgressLine(const std::string& what, long long done, long long total,
                               double perSecond) {
    return what + ": " + std::to_string(done) + "/" + std::to_string(total) + " records, " +
           std::to_string(std::llround(perSecond)) + " records/s";
}

long long EstimateTotal(long long done, unsigned long long doneBytes,
                        unsigned long long fileBytes) {
    if (done <= 0 || doneBytes == 0) return 0;
    const double perRecord = static_cast<double>(doneBytes) / static_cast<double>(done);
    return std::max(done, std::llround(static_cast<double>(fileBytes) / perRecord));
}

}  // namespace cli
