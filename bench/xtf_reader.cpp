// Cost of reading XTF pings of two channels of 1024 two-byte samples from memory, each ping
// decoded and both channels mapped to display bytes, and of choosing a file's gain. Figures
// in docs/performance.md.

#include <benchmark/benchmark.h>

#include <bit>
#include <cstring>
#include <random>
#include <vector>

#include "common/ByteOrder.h"
#include "datafiles/XtfDisplayMap.h"
#include "datafiles/XtfReader.h"

namespace {

constexpr int kPings = 4000;
constexpr std::uint32_t kSamples = 1024;

void PutFloat(std::uint8_t* p, float v) {
    PutLe32(p, std::bit_cast<std::uint32_t>(v));
}

// A file header with a port and a starboard channel of 2-byte samples at 100 kHz.
void AppendHeader(std::vector<std::uint8_t>& file) {
    file.assign(1024, 0);
    std::uint8_t* h = file.data();
    h[0] = 0x7B;
    PutLe16(h + 164, 3);
    PutLe16(h + 166, 2);
    for (int k = 0; k < 2; ++k) {
        std::uint8_t* c = h + 256 + 128 * k;
        c[0] = static_cast<std::uint8_t>(1 + k);
        PutLe16(c + 6, 2);
        PutFloat(c + 32, 100.0f);
        c[74] = 3;
    }
}

// One ping: header, then each channel's header and 1024 samples of a seabed-like level with
// speckle; 4480 bytes.
void AppendPing(std::vector<std::uint8_t>& file, std::uint32_t number, std::mt19937& rng) {
    const std::size_t length = 256 + 2 * (64 + 2 * kSamples);
    const std::size_t at = file.size();
    file.resize(at + length, 0);
    std::uint8_t* p = file.data() + at;
    PutLe16(p, 0xFACE);
    PutLe16(p + 4, 2);
    PutLe32(p + 10, static_cast<std::uint32_t>(length));
    PutLe32(p + 28, number);
    PutLeDouble(p + 160, 54.0 + number * 1e-6);
    PutLeDouble(p + 168, 10.0);
    std::uint8_t* c = p + 256;
    std::exponential_distribution<double> speckle(1.0);
    for (std::uint16_t channel = 0; channel < 2; ++channel) {
        PutLe16(c, channel);
        PutFloat(c + 4, 50.0f);
        PutLe32(c + 42, kSamples);
        for (std::uint32_t i = 0; i < kSamples; ++i) {
            const double level = 3000.0 * speckle(rng);
            PutLe16(c + 64 + 2 * i, static_cast<std::uint16_t>(level < 65535 ? level : 65535));
        }
        c += 64 + 2 * kSamples;
    }
}

const std::vector<std::uint8_t>& BenchFile() {
    static const std::vector<std::uint8_t> file = [] {
        std::vector<std::uint8_t> bytes;
        AppendHeader(bytes);
        std::mt19937 rng(7);
        for (int n = 0; n < kPings; ++n) AppendPing(bytes, static_cast<std::uint32_t>(n), rng);
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
    std::vector<std::uint8_t> row(2 * kSamples);
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
