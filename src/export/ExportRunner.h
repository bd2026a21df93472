#pragma once
// An export on a thread of its own, for a window that shows its progress and can cancel it
// while acquisition and drawing go on: any job that takes an ExportProgress and returns an
// ExportReport (the XTF export, a mosaic and its writing, and the like).

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "export/ExportJob.h"

namespace svx {

class ExportRunner {
public:
    using Job = std::function<ExportReport(const ExportProgress&)>;

    ExportRunner() = default;
    ExportRunner(const ExportRunner&) = delete;
    ExportRunner& operator=(const ExportRunner&) = delete;
    ~ExportRunner();  // cancels a running job and waits for it

    // Starts the job; false while another one runs.
    bool Start(Job job);
    // Asks the job to stop at its next progress report.
    void Cancel() { cancelRequested = true; }
    bool Running() const { return running; }
    // Bytes done out of the total, 0..1 (0 before the first report).
    double Fraction() const;
    // Waits for the job to end and returns its report (once; nothing when none ran).
    std::optional<ExportReport> Wait();

private:
    std::thread worker;
    std::atomic<bool> running{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<std::uint64_t> done{0}, total{0};
    std::mutex lock;
    std::optional<ExportReport> report;
};

}  // namespace svx
