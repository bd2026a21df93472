// The track export of an NMEA log (`sonvara-cli track LOG --gpx|--kml|--csv`): a log of RMC +
// GGA fixes at 10 Hz (bench/NmeaLog.h, as bench_make_nmea_log writes it) read from a file in
// pieces, decoded line by line and written point by point. Figures in docs/performance.md.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "NmeaLog.h"
#include "export/LogTrack.h"
#include "gps/NmeaDecode.h"

namespace {

constexpr long long kFixes = 36000;  // one hour, about 5 MB

std::string MakeLog() {
    std::string log;
    for (long long n = 0; n < kFixes; ++n) AppendLoggedFix(log, n);
    return log;
}

// The log in a file of its own, removed at the end.
class LogFile {
public:
    LogFile() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "sonvara-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) dir = pattern;
        text = MakeLog();
        std::FILE* file = std::fopen(Log().c_str(), "wb");
        if (file) {
            std::fwrite(text.data(), 1, text.size(), file);
            std::fclose(file);
        }
    }
    ~LogFile() {
        std::error_code ec;
        if (!dir.empty()) std::filesystem::remove_all(dir, ec);
    }
    std::string Log() const { return dir + "/log.nmea"; }
    std::string Out() const { return dir + "/out"; }
    std::string text;

private:
    std::string dir;
};

void BM_LogTrackExport(benchmark::State& state) {
    static const LogFile file;
    const auto format = static_cast<svx::GeoFormat>(state.range(0));
    for (auto _ : state) {
        const svx::LogTrackReport report =
            svx::ExportLogTrack(file.Log(), file.Out(), format, "log");
        if (report.points != static_cast<std::uint64_t>(kFixes)) {
            state.SkipWithError(("the export failed: " + report.error).c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.text.size()));
}
BENCHMARK(BM_LogTrackExport)
    ->Arg(static_cast<int>(svx::GeoFormat::Gpx))
    ->Arg(static_cast<int>(svx::GeoFormat::Kml))
    ->Arg(static_cast<int>(svx::GeoFormat::Csv))
    ->Unit(benchmark::kMillisecond);

// The pure decoder alone over the same sentences.
void BM_DecodeNmea(benchmark::State& state) {
    const std::string log = MakeLog();
    std::int64_t decoded = 0;
    for (auto _ : state) {
        for (std::size_t start = 0; start < log.size();) {
            const std::size_t end = log.find('\n', start);
            const NmeaValues values = DecodeNmea(std::string_view(log).substr(start, end - start));
            decoded += values.latitude ? 1 : 0;
            start = end + 1;
        }
    }
    benchmark::DoNotOptimize(decoded);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log.size()));
}
BENCHMARK(BM_DecodeNmea)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
