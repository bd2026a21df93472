#pragma once
// Little-endian reads and writes of the binary formats (head protocol, data file, palette).

#include <cstdint>
#include <cstring>

inline void PutLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline std::uint16_t GetLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetLe32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void PutLeDouble(std::uint8_t* p, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    PutLe32(p, static_cast<std::uint32_t>(bits));
    PutLe32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}
inline double GetLeDouble(const std::uint8_t* p) {
    const std::uint64_t bits = GetLe32(p) | (static_cast<std::uint64_t>(GetLe32(p + 4)) << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}
