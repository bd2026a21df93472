// Writes the NMEA log the track benchmarks convert: `bench_make_nmea_log OUT [FIXES]`, FIXES
// RMC + GGA pairs at 10 Hz (360000 by default: ten hours, about 54 MB).

#include <cstdio>
#include <cstdlib>
#include <string>

#include "NmeaLog.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUT [FIXES]\n", argv[0]);
        return 2;
    }
    const long long fixes = argc == 3 ? std::atoll(argv[2]) : 360000;
    if (fixes <= 0) {
        std::fprintf(stderr, "%s: FIXES must be a positive number\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::string text;
    for (long long n = 0; n < fixes; ++n) {
        AppendLoggedFix(text, n);
        if (text.size() < (1u << 20) && n + 1 < fixes) continue;
        if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) break;
        text.clear();
    }
    if (!text.empty() || std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
