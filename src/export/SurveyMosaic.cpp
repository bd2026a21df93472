#include "export/SurveyMosaic.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "export/MosaicMerge.h"
#include "gps/Utm.h"
#include "recordings/Recording.h"

namespace svx {

namespace {

// One recording laid on its own.
struct Laid {
    Mosaic mosaic;
    AcrossDistances distances;
    ExportReport report;
};

std::string ZoneText(int zone) {
    return std::to_string(std::abs(zone)) + (zone < 0 ? "S" : "N");
}

// The bytes read of every recording, summed for the caller's progress, one thread at a time.
class SharedProgress {
public:
    SharedProgress(const std::vector<std::string>& inputs, const ExportProgress& progress)
        : progress(progress), done(inputs.size(), 0) {
        for (const std::string& input : inputs) {
            std::error_code ec;
            const std::uintmax_t size = std::filesystem::file_size(input, ec);
            total += ec ? 0 : size;
        }
    }
    ExportProgress For(std::size_t k) {
        return [this, k](std::uint64_t bytes, std::uint64_t) {
            const std::lock_guard<std::mutex> hold(lock);
            done[k] = bytes;
            if (cancelled || !progress) return !cancelled;
            std::uint64_t sum = 0;
            for (const std::uint64_t d : done) sum += d;
            cancelled = !progress(std::min(sum, total), total);
            return !cancelled;
        };
    }

private:
    const ExportProgress& progress;
    std::mutex lock;
    std::vector<std::uint64_t> done;
    std::uint64_t total = 0;
    bool cancelled = false;
};

// Lays the recordings on `threads` threads and merges them in order as they are done; a
// recording is begun only while fewer than `threads` wait to be merged.
class SurveyLayer {
public:
    SurveyLayer(const std::vector<std::string>& inputs, const MosaicOptions& options,
                const ExportProgress& progress, const LaidSink& perLine)
        : inputs(inputs), options(options), perLine(perLine), shared(inputs, progress),
          laid(inputs.size()) {}

    ExportReport Run(Mosaic& out, AcrossDistances& outDistances) {
        unsigned threads = options.threads > 0 ? static_cast<unsigned>(options.threads)
                                               : std::max(1u, std::thread::hardware_concurrency());
        threads = std::min<unsigned>(threads, static_cast<unsigned>(inputs.size()));
        merged = &out;
        distances = &outDistances;
        std::vector<std::thread> workers;
        for (unsigned t = 1; t < threads; ++t) workers.emplace_back([this, threads] { Work(threads); });
        Work(threads);
        for (std::thread& w : workers) w.join();
        return std::move(report);
    }

private:
    void Work(unsigned threads) {
        for (;;) {
            std::size_t k = 0;
            {
                std::unique_lock<std::mutex> hold(lock);
                wake.wait(hold, [&] { return stop || next >= inputs.size() || next < taken + threads; });
                if (stop || next >= inputs.size()) return;
                k = next++;
            }
            auto one = std::make_unique<Laid>();
            one->report = BuildMosaic(inputs[k], options, one->mosaic, shared.For(k), &one->distances);
            if (perLine && one->report.Ok()) perLine(k, one->mosaic, one->distances, one->report.error);
            std::unique_lock<std::mutex> hold(lock);
            laid[k] = std::move(one);
            while (!stop && taken < inputs.size() && laid[taken]) TakeNext();
            wake.notify_all();
        }
    }

    // The next recording in order into the mosaic, or its note, or the end of the work.
    void TakeNext() {
        Laid& one = *laid[taken];
        const std::string& input = inputs[taken];
        // One recording's damage is the mosaic's own (a tool tells a file cut off at its end
        // by it); several name their file in a note each.
        for (const SkippedStretch& s : one.report.damage) {
            if (inputs.size() == 1) {
                report.damage.push_back(s);
            } else {
                report.notes.push_back(input + ": " + DamageLine(s));
            }
        }
        report.records += one.report.records;
        if (one.report.cancelled) {
            report.cancelled = true;
            stop = true;
        } else if (one.report.Ok() || !one.mosaic.raster.Empty()) {
            if (!one.report.Ok()) {  // laid, but not fit to be mosaicked (too large)
                report.error = one.report.error;
                stop = true;
            } else {
                for (const std::string& note : one.report.notes) report.notes.push_back(note);
                MergeMosaic(*merged, *distances, one.mosaic, one.distances, options.overlap);
                ++laidFiles;
            }
        } else {
            if (firstError.empty()) firstError = one.report.error;
            if (inputs.size() == 1) return Drop();  // its error is the mosaic's
            std::string reason = one.report.error;
            const std::string alone = ": it cannot be mosaicked";
            if (reason.size() > alone.size() && reason.ends_with(alone)) {
                reason.resize(reason.size() - alone.size());
            }
            report.notes.push_back(reason + ": left out of the mosaic");
        }
        Drop();
    }

    void Drop() {
        laid[taken].reset();
        ++taken;
    }

public:
    std::size_t laidFiles = 0;
    std::string firstError;  // of the first recording left out

private:
    const std::vector<std::string>& inputs;
    const MosaicOptions& options;
    const LaidSink& perLine;
    SharedProgress shared;
    std::vector<std::unique_ptr<Laid>> laid;
    std::mutex lock;
    std::condition_variable wake;
    std::size_t next = 0, taken = 0;
    bool stop = false;
    Mosaic* merged = nullptr;
    AcrossDistances* distances = nullptr;
    ExportReport report;
};

// The zone of most pings (the first of them in the order of zones on a tie).
int MostPings(const std::map<int, std::uint64_t>& pingsPerZone) {
    int best = 0;
    std::uint64_t most = 0;
    for (const auto& [zone, pings] : pingsPerZone) {
        if (pings > most) best = zone, most = pings;
    }
    return best;
}

}  // namespace

MosaicOptions CommonGrid(const std::vector<std::string>& inputs, const MosaicOptions& options) {
    MosaicOptions grid = options;
    for (const std::string& input : inputs) {
        if (grid.head && grid.resolutionM && grid.zone > 0) break;
        ExportReport ignored;
        const std::unique_ptr<rec::RecordingReader> reader = rec::OpenRecording(input, ignored.error);
        if (!reader) continue;
        bool first = true;
        reader->Walk(
            [&](const rec::PingValues& ping) {
                if (first && !grid.head) {
                    for (int h = 0; h < 3 && !grid.head; ++h) {
                        if (ping.heads[static_cast<std::size_t>(h)].present) grid.head = h;
                    }
                }
                first = false;
                const rec::SideScanLine* line =
                    grid.head ? &ping.heads[static_cast<std::size_t>(*grid.head)] : nullptr;
                if (!grid.resolutionM && line && line->present && line->slantRangeM > 0) {
                    grid.resolutionM = DefaultResolution(line->slantRangeM);
                }
                if (grid.zone == 0 && ping.nav.newFix) {
                    const UtmPosition p = LatLonToUtm(ping.nav.latitude, ping.nav.longitude);
                    grid.zone = p.zone;
                    grid.south = p.south;
                }
                return !(grid.head && grid.resolutionM && grid.zone > 0);
            },
            {}, ignored);
    }
    return grid;
}

ExportReport BuildSurveyMosaic(const std::vector<std::string>& inputs,
                               const MosaicOptions& options, Mosaic& out,
                               const ExportProgress& progress, const LaidSink& perLine) {
    MosaicOptions grid = CommonGrid(inputs, options);
    out = Mosaic{};
    auto distances = std::make_unique<AcrossDistances>();
    SurveyLayer first(inputs, grid, progress, perLine);
    ExportReport report = first.Run(out, *distances);
    if (!report.Ok()) return report;
    if (first.laidFiles == 0 && inputs.size() == 1) {
        report.error = first.firstError;  // said as the one recording's own error
        return report;
    }
    if (first.laidFiles == 0) {
        // The reasons go into the one line: notes are not shown with an error.
        report.error = "no recording holds anything to lay";
        for (const std::string& note : report.notes) report.error += "; " + note;
        return report;
    }
    const int most = MostPings(out.pingsPerZone);
    const int laidIn = out.south ? -out.zone : out.zone;
    if (out.pingsPerZone.size() > 1 || most != laidIn) {
        std::string counts;
        for (const auto& [zone, pings] : out.pingsPerZone) {
            counts += (counts.empty() ? "" : ", ") + ZoneText(zone) + " " + std::to_string(pings);
        }
        report.notes.push_back("pings in UTM zones " + counts + ": the mosaic is in zone " +
                               ZoneText(most));
    }
    if (most != laidIn && options.zone == 0) {
        grid.zone = std::abs(most);
        grid.south = most < 0;
        const std::string zoneNote = report.notes.back();
        out = Mosaic{};
        distances = std::make_unique<AcrossDistances>();
        SurveyLayer again(inputs, grid, progress, perLine);
        report = again.Run(out, *distances);
        report.notes.push_back(zoneNote);
    }
    if (report.Ok() && options.normalize.value_or(inputs.size() > 1)) {
        out.across.Normalize(out.raster, *distances);
    }
    if (report.Ok() && std::max(out.Width(), out.Height()) > options.maxSidePixels) {
        report.error = "the recordings span " + std::to_string(out.Width()) + " x " +
                       std::to_string(out.Height()) + " pixels of " +
                       std::to_string(out.resolutionM) + " m, more than " +
                       std::to_string(options.maxSidePixels) +
                       " a side: choose a coarser --resolution";
    }
    return report;
}

}  // namespace svx
