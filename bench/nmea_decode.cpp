// Decoding a 1 MB NMEA log of a moving vessel (RMC, GGA, GLL, VTG and HDT with checksums)
// through the framing and the decoders, in reads of the reader's 64 KiB buffer, with the batch
// end adding track points. Figures in docs/performance.md.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "NmeaLog.h"
#include "gps/GpsState.h"

namespace {

std::string Sentence(const char* body) {
    return NmeaSentence(body);
}

std::string MakeLog(std::size_t bytes) {
    std::string log;
    char body[128];
    for (int second = 0; log.size() < bytes; ++second) {
        const int h = second / 3600 % 24, m = second / 60 % 60, s = second % 60;
        const double minutes = 7.038 + second * 0.0001;
        std::snprintf(body, sizeof body,
                      "GPRMC,%02d%02d%02d.00,A,48%07.4f,N,01131.0000,E,5.5,"
                      "054.7,230394,,,A",
                      h, m, s, minutes);
        log += Sentence(body);
        std::snprintf(body, sizeof body,
                      "GPGGA,%02d%02d%02d.00,48%07.4f,N,01131.0000,E,1,08,0.9,"
                      "545.4,M,46.9,M,,",
                      h, m, s, minutes);
        log += Sentence(body);
        std::snprintf(body, sizeof body, "GPGLL,48%07.4f,N,01131.0000,E,%02d%02d%02d.00,A,A",
                      minutes, h, m, s);
        log += Sentence(body);
        log += Sentence("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A");
        log += Sentence("GPHDT,274.07,T");
    }
    return log;
}

void BM_SplitReceivedText(benchmark::State& state) {
    const std::string log = MakeLog(1 << 20);
    constexpr std::size_t kRead = 65536;
    for (auto _ : state) {
        GpsState gps;
        for (std::size_t at = 0; at < log.size(); at += kRead) {
            const std::size_t n = std::min(kRead, log.size() - at);
            gps.DecodeRead(log.data() + at, n, {2, true});
        }
        benchmark::DoNotOptimize(gps.gpsLatitude);
        if (gps.track.trackPath.empty()) state.SkipWithError("no track was decoded");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * log.size()));
}
BENCHMARK(BM_SplitReceivedText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
