// What the simulator spends on one half of a ping: the scene of a side-scan half (water
// column, bottom, textured seabed, objects and shadows), the echo sounder's samples, and a
// whole data request answered by a head.

#include <benchmark/benchmark.h>

#include "SimHead.h"
#include "acquisition/SwitchCommand.h"

namespace {

void BM_SideScanHalf(benchmark::State& state) {
    const sim::Scene scene;
    std::uint8_t out[sim::kSamples];
    std::uint32_t ping = 1;
    for (auto _ : state) {
        scene.SideScan(static_cast<int>(state.range(0)), ping & 1, ping, {100, 20, 0}, out);
        benchmark::DoNotOptimize(out);
        ++ping;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SideScanHalf)->Arg(0)->Arg(2);

void BM_EchoSounderHalf(benchmark::State& state) {
    const sim::Scene scene;
    std::uint8_t out[sim::kSamples];
    std::uint32_t ping = 1;
    for (auto _ : state) {
        scene.EchoSounder(ping++, {50, 6, 0}, out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_EchoSounderHalf);

void BM_HeadAnswersADataRequest(benchmark::State& state) {
    const sim::Scene scene;
    sim::SimHead head(kHeadM, sim::Installation{}, scene, {}, true);
    sim::SimConnection connection;
    HeadArray heads;
    InitSwitchCommands(heads);
    BuildSwitchCommands(heads, 50, 50);
    for (auto _ : state) {
        auto responses = head.Receive(connection, heads[kHeadM].command.data(), 128);
        benchmark::DoNotOptimize(responses);
    }
}
BENCHMARK(BM_HeadAnswersADataRequest);

}  // namespace

BENCHMARK_MAIN();
