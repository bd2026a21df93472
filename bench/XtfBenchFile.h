#pragma once
// The XTF file of the XTF benchmarks, made byte by byte at the offsets of the format: a port
// and a starboard channel of 1024 two-byte samples at 100 kHz over 50 m; ten pings a second
// from 09:00:00, northward at 4 knots (0.206 m a ping) from 54 N 10 E, 8 m above the seabed,
// each ping with its fix. A ping is 4480 bytes.

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "common/ByteOrder.h"

inline constexpr std::uint32_t kXtfBenchSamples = 1024;

inline void PutXtfFloat(std::uint8_t* p, float v) {
    PutLe32(p, std::bit_cast<std::uint32_t>(v));
}

// The 1024-byte file header with its two channels; replaces what `file` held.
inline void AppendXtfBenchHeader(std::vector<std::uint8_t>& file) {
    file.assign(1024, 0);
    std::uint8_t* h = file.data();
    h[0] = 0x7B;
    PutLe16(h + 164, 3);
    PutLe16(h + 166, 2);
    for (int k = 0; k < 2; ++k) {
        std::uint8_t* c = h + 256 + 128 * k;
        c[0] = static_cast<std::uint8_t>(1 + k);
        PutLe16(c + 6, 2);
        PutXtfFloat(c + 32, 100.0f);
        c[74] = 3;
    }
}

// The time fields of ping `number` (ten a second) at `at`: hour, minute, second, hundredths.
inline void PutXtfBenchTime(std::uint8_t* at, std::uint32_t number) {
    const std::uint32_t tenths = number % 864000;
    at[0] = static_cast<std::uint8_t>(tenths / 36000 % 24);
    at[1] = static_cast<std::uint8_t>(tenths / 600 % 60);
    at[2] = static_cast<std::uint8_t>(tenths / 10 % 60);
    at[3] = static_cast<std::uint8_t>(tenths % 10 * 10);
}

// One ping: its header, then each channel's header and samples of a seabed-like level with
// speckle.
inline void AppendXtfBenchPing(std::vector<std::uint8_t>& file, std::uint32_t number,
                               std::mt19937& rng) {
    const std::size_t length = 256 + 2 * (64 + 2 * kXtfBenchSamples);
    const std::size_t at = file.size();
    file.resize(at + length, 0);
    std::uint8_t* p = file.data() + at;
    PutLe16(p, 0xFACE);
    PutLe16(p + 4, 2);
    PutLe32(p + 10, static_cast<std::uint32_t>(length));
    PutLe16(p + 14, 2026);
    p[16] = 6;
    p[17] = 14;
    PutXtfBenchTime(p + 18, 9 * 36000 + number);
    PutLe32(p + 28, number);
    PutXtfFloat(p + 120, 4.0f);
    PutXtfBenchTime(p + 148, 9 * 36000 + number);
    PutLeDouble(p + 160, 54.0 + number * 0.206 / 111320.0);
    PutLeDouble(p + 168, 10.0);
    PutXtfFloat(p + 196, 8.0f);
    std::uint8_t* c = p + 256;
    std::exponential_distribution<double> speckle(1.0);
    for (std::uint16_t channel = 0; channel < 2; ++channel) {
        PutLe16(c, channel);
        PutXtfFloat(c + 4, 50.0f);
        PutLe32(c + 42, kXtfBenchSamples);
        for (std::uint32_t i = 0; i < kXtfBenchSamples; ++i) {
            const double level = 3000.0 * speckle(rng);
            PutLe16(c + 64 + 2 * i, static_cast<std::uint16_t>(level < 65535 ? level : 65535));
        }
        c += 64 + 2 * kXtfBenchSamples;
    }
}
