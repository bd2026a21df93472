#pragma once
// The samples of one XTF channel as they lie in the packet: a typed view over the bytes,
// little-endian, without copying them.

#include <cstddef>
#include <cstdint>

namespace xtf {

enum class SampleType : std::uint8_t {
    Unreadable,  // a byte count or format this reader does not read
    UInt8,
    UInt16,
    UInt32,      // 4-byte integer
    Float32,     // 4-byte IEEE float
    IbmFloat32,  // 4-byte IBM hexadecimal float
};

// Bytes a sample of the type occupies (0 for Unreadable).
int SampleBytes(SampleType type);
const char* SampleTypeText(SampleType type);

// The type of a channel's samples from its CHANINFO BytesPerSample and SampleFormat. A
// format of 0, an unknown format, or one whose size disagrees with BytesPerSample leaves the
// byte count to say it: integers of 1, 2 or 4 bytes; any other count is unreadable.
SampleType SampleTypeOf(int bytesPerSample, int sampleFormat);

// An IBM single-precision float: sign, 7-bit exponent of 16 biased by 64, 24-bit fraction.
double IbmFloatValue(std::uint32_t bits);

struct SampleView {
    const std::uint8_t* bytes = nullptr;
    std::uint32_t count = 0;
    SampleType type = SampleType::Unreadable;

    // Sample i as a number (i < count); negative, infinite and NaN floats come back as they are.
    double At(std::size_t i) const;
};

}  // namespace xtf
