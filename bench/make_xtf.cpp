// Writes the XTF file the whole-process figures of `render` and `mosaic` read:
// `bench_make_xtf OUT [PINGS]`, PINGS pings of two channels of 1024 two-byte samples (20000
// by default: 33 minutes at ten pings a second, about 90 MB).

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "XtfBenchFile.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s OUT [PINGS]\n", argv[0]);
        return 2;
    }
    const long long pings = argc == 3 ? std::atoll(argv[2]) : 20000;
    if (pings <= 0 || pings > 100000000) {
        std::fprintf(stderr, "%s: PINGS must be a number from 1 to 100000000\n", argv[0]);
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::vector<std::uint8_t> bytes;
    AppendXtfBenchHeader(bytes);
    std::mt19937 rng(7);
    bool written = true;
    for (long long n = 0; n < pings && written; ++n) {
        AppendXtfBenchPing(bytes, static_cast<std::uint32_t>(n), rng);
        if (bytes.size() < (1u << 20) && n + 1 < pings) continue;
        written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
        bytes.clear();
    }
    if (std::fclose(out) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
