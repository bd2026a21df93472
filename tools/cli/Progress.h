#pragma once
// The progress line of long work ("render: 1200/4000 records, 9650 records/s"): shown on a
// terminal only, first after about a second and then a few times a second, so that short runs
// and pipes see nothing of it.

#include <optional>
#include <string>
#include <utility>

namespace cli {

class ProgressMeter {
public:
    explicit ProgressMeter(std::string what, double delaySeconds = 1.0, double periodSeconds = 0.25)
        : what(std::move(what)), delay(delaySeconds), period(periodSeconds) {}

    // The line to show at `seconds` since the start, when one is due.
    std::optional<std::string> Update(long long done, long long total, double seconds);
    // Whether a line was shown (and so must be cleared at the end).
    bool Shown() const { return shown; }

private:
    std::string what;
    double delay, period;
    double lastShown = 0;
    bool shown = false;
};

std::string FormatProgressLine(const std::string& what, long long done, long long total,
                               double perSecond);

// The number of records of a file of `fileBytes` when `done` records took `doneBytes`.
long long EstimateTotal(long long done, unsigned long long doneBytes, unsigned long long fileBytes);

}  // namespace cli
