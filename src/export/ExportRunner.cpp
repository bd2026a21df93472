#include "export/ExportRunner.h"

namespace svx {

ExportRunner::~ExportRunner() {
    Cancel();
    Wait();
}

bool ExportRunner::Start(Job job) {
    if (running) return false;
    if (worker.joinable()) worker.join();
    cancelRequested = false;
    done = total = 0;
    {
        std::lock_guard<std::mutex> guard(lock);
        report.reset();
    }
    running = true;
    worker = std::thread([this, job = std::move(job)] {
        // Only a job that was told to stop is cancelled: a cancel that comes after its last
        // report finds the output complete, and it stays.
        bool told = false;
        const ExportProgress progress = [this, &told](std::uint64_t bytes, std::uint64_t length) {
            done = bytes;
            total = length;
            told = told || cancelRequested.load();
            return !told;
        };
        ExportReport result = job(progress);
        if (told) result.cancelled = true;
        {
            std::lock_guard<std::mutex> guard(lock);
            report = std::move(result);
        }
        running = false;
    });
    return true;
}

double ExportRunner::Fraction() const {
    const std::uint64_t length = total;
    return length == 0 ? 0.0 : static_cast<double>(done.load()) / static_cast<double>(length);
}

std::optional<ExportReport> ExportRunner::Wait() {
    if (worker.joinable()) worker.join();
    std::lock_guard<std::mutex> guard(lock);
    std::optional<ExportReport> out = std::move(report);
    report.reset();
    return out;
}

}  // namespace svx
