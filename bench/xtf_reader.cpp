// Cost of reading XTF pings of two channels of 1024 two-byte samples from memory, each ping
// decoded and both channels mapped to display bytes, and of choosing a file's gain. Figures
// in docs/performance.md.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "XtfBenchFile.h"
#include "datafiles/XtfDisplayMap.h"
#include "datafiles/XtfReader.h"

namespace {

constexpr int kPings = 4000;

const std::vector<std::uint8_t>& BenchFile() {
    static const std::vector<std::uint8_t> file = [] {
        std::vector<std::uint8_t> bytes;
        AppendXtfBenchHeader(bytes);
        std::mt19937 rng(7);
        for (int n = 0; n < kPings; ++n) AppendXtfBenchPing(bytes, static_cast<std::uint32_t>(n), rng);
        return bytes;
    }();
    return file;
}

// Every ping of the file read and both channels mapped: items are pings.
void BM_ReadAndMapPings(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = BenchFile();
    svx::MemoryBytes source(bytes.data(), bytes.size());
    xtf::Reader reader(source);
    std::string error;
    if (!reader.Open(error)) state.SkipWithError(error.c_str());
    const xtf::DisplayMap map = xtf::DisplayMapForFile(source, reader.File());
    std::vector<std::uint8_t> row(2 * kXtfBenchSamples);
    xtf::Ping ping;
    std::int64_t pings = 0;
    for (auto _ : state) {
        reader.Rewind();
        while (reader.NextPing(ping)) {
            std::uint8_t* out = row.data();
            for (const xtf::Channel& channel : ping.channels) {
                map.Map(channel.samples, out);
                out += channel.samples.count;
            }
            benchmark::DoNotOptimize(row.data());
            ++pings;
        }
    }
    state.SetItemsProcessed(pings);
}
BENCHMARK(BM_ReadAndMapPings)->Unit(benchmark::kMillisecond);

// Opening the file and choosing its gain from 64 pings spread over it (once per file).
void BM_OpenAndChooseGain(benchmark::State& state) {
    const std::vector<std::uint8_t>& bytes = BenchFile();
    svx::MemoryBytes source(bytes.data(), bytes.size());
    for (auto _ : state) {
        xtf::Reader reader(source);
        std::string error;
        benchmark::DoNotOptimize(reader.Open(error));
        const xtf::DisplayMap map = xtf::DisplayMapForFile(source, reader.File());
        benchmark::DoNotOptimize(map.Top());
    }
}
BENCHMARK(BM_OpenAndChooseGain)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
