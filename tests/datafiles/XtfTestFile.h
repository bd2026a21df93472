#pragma once
// XTF files made byte by byte at the offsets of the published XTF layout, for the reader's
// tests: a file header with its channel table, sonar packets with channel headers and samples,
// and packets of other types. Independent of the product's XTF writer.

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace xtftest {

struct ChanInfo {
    int type = 1;  // 0 sub-bottom, 1 port, 2 starboard, 3 bathymetry
    int bytesPerSample = 2;
    int sampleFormat = 0;
    float kHz = 0;
    std::string name;
};

struct TestChannel {
    std::uint16_t number = 0;
    float slantRange = 50;
    std::uint16_t kHz = 0;
    std::vector<std::uint8_t> samples;  // raw bytes
    // NumSamples as stored; by default the sample bytes over bytesPerSample
    std::int64_t numSamples = -1;
    int bytesPerSample = 2;  // only to work out NumSamples
    float secondsPerPing = 0;
};

struct TestPing {
    std::uint32_t ping = 1;
    std::uint32_t event = 0;
    int year = 2024, month = 5, day = 17, hour = 9, minute = 30, second = 15, hundredths = 42;
    double sensorY = 0, sensorX = 0, shipY = 0, shipX = 0;
    float shipSpeed = 0, sensorSpeed = 0, shipGyro = 0, heading = 0;
    float altitude = 0, depth = 0, pitch = 0, roll = 0, layback = 0, soundVelocity = 750;
    int fixHour = 0, fixMinute = 0, fixSecond = 0, fixHundredths = 0;
    std::vector<TestChannel> channels;
};

inline void Put8(std::vector<std::uint8_t>& b, std::size_t at, int v) {
    b[at] = static_cast<std::uint8_t>(v);
}
inline void Put16(std::vector<std::uint8_t>& b, std::size_t at, unsigned v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void PutF32(std::vector<std::uint8_t>& b, std::size_t at, float v) {
    Put32(b, at, std::bit_cast<std::uint32_t>(v));
}
inline void PutF64(std::vector<std::uint8_t>& b, std::size_t at, double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    Put32(b, at, static_cast<std::uint32_t>(bits));
    Put32(b, at + 4, static_cast<std::uint32_t>(bits >> 32));
}
inline void PutText(std::vector<std::uint8_t>& b, std::size_t at, const std::string& text) {
    std::memcpy(b.data() + at, text.data(), text.size());
}

// 2-byte little-endian samples.
inline std::vector<std::uint8_t> Samples16(const std::vector<std::uint16_t>& values) {
    std::vector<std::uint8_t> bytes(values.size() * 2);
    for (std::size_t i = 0; i < values.size(); ++i) Put16(bytes, 2 * i, values[i]);
    return bytes;
}

// A 2-byte channel whose sample i is first + i * step.
inline TestChannel Ramp(std::uint16_t number, std::uint16_t count, std::uint16_t first,
                        std::uint16_t step = 1) {
    std::vector<std::uint16_t> values(count);
    for (std::uint16_t i = 0; i < count; ++i) values[i] = static_cast<std::uint16_t>(first + i * step);
    TestChannel c;
    c.number = number;
    c.samples = Samples16(values);
    return c;
}

class XtfBytes {
public:
    std::vector<std::uint8_t> bytes;

    // The file header; sonarChannels < 0 writes the table's size. The header grows by 1024
    // bytes per further 8 channels past 6.
    void Header(int navUnits, const std::vector<ChanInfo>& channels, int sonarChannels = -1,
                const std::string& version = "556", int bathymetryChannels = 0) {
        const int described = static_cast<int>(channels.size());
        const std::size_t length =
            described <= 6 ? 1024 : 1024 + 1024 * static_cast<std::size_t>((described - 6 + 7) / 8);
        bytes.assign(length, 0);
        Put8(bytes, 0, 0x7B);
        Put8(bytes, 1, 1);
        PutText(bytes, 2, "Tester");
        PutText(bytes, 10, version);
        PutText(bytes, 18, "TowFish 9");
        PutText(bytes, 36, "a note");
        PutText(bytes, 100, "line7.xtf");
        Put16(bytes, 164, static_cast<unsigned>(navUnits));
        Put16(bytes, 166, static_cast<unsigned>(sonarChannels < 0 ? described : sonarChannels));
        Put16(bytes, 168, static_cast<unsigned>(bathymetryChannels));
        for (int i = 0; i < described; ++i) {
            const ChanInfo& c = channels[static_cast<std::size_t>(i)];
            const std::size_t at = 256 + 128 * static_cast<std::size_t>(i);
            Put8(bytes, at + 0, c.type);
            Put8(bytes, at + 1, i);
            Put16(bytes, at + 2, 1);
            Put16(bytes, at + 4, 1);
            Put16(bytes, at + 6, static_cast<unsigned>(c.bytesPerSample));
            PutText(bytes, at + 12, c.name);
            PutF32(bytes, at + 28, 5.0f);
            PutF32(bytes, at + 32, c.kHz);
            Put8(bytes, at + 74, c.sampleFormat);
        }
    }

    // A sonar packet, padded to a multiple of 64 bytes; returns its offset.
    std::size_t Ping(const TestPing& p) {
        std::size_t length = 256;
        for (const TestChannel& c : p.channels) length += 64 + c.samples.size();
        length = (length + 63) / 64 * 64;
        const std::size_t at = bytes.size();
        bytes.resize(at + length, 0);
        Put16(bytes, at + 0, 0xFACE);
        Put8(bytes, at + 2, 0);
        Put16(bytes, at + 4, static_cast<unsigned>(p.channels.size()));
        Put32(bytes, at + 10, static_cast<std::uint32_t>(length));
        PingFields(p, at);
        std::size_t c = at + 256;
        for (const TestChannel& ch : p.channels) {
            Put16(bytes, c + 0, ch.number);
            PutF32(bytes, c + 4, ch.slantRange);
            PutF32(bytes, c + 20, ch.secondsPerPing);
            Put16(bytes, c + 26, ch.kHz);
            const std::int64_t n = ch.numSamples >= 0
                                       ? ch.numSamples
                                       : static_cast<std::int64_t>(ch.samples.size()) / ch.bytesPerSample;
            Put32(bytes, c + 42, static_cast<std::uint32_t>(n));
            std::memcpy(bytes.data() + c + 64, ch.samples.data(), ch.samples.size());
            c += 64 + ch.samples.size();
        }
        return at;
    }

    // A packet of another type (notes, attitude, navigation ...) of `length` bytes.
    std::size_t Other(int headerType, std::uint32_t length) {
        const std::size_t at = bytes.size();
        bytes.resize(at + length, 0x5A);
        Put16(bytes, at + 0, 0xFACE);
        Put8(bytes, at + 2, headerType);
        Put8(bytes, at + 3, 0);
        Put16(bytes, at + 4, 0);
        Put32(bytes, at + 10, length);
        return at;
    }

private:
    void PingFields(const TestPing& p, std::size_t at) {
        Put16(bytes, at + 14, static_cast<unsigned>(p.year));
        Put8(bytes, at + 16, p.month);
        Put8(bytes, at + 17, p.day);
        Put8(bytes, at + 18, p.hour);
        Put8(bytes, at + 19, p.minute);
        Put8(bytes, at + 20, p.second);
        Put8(bytes, at + 21, p.hundredths);
        Put32(bytes, at + 24, p.event);
        Put32(bytes, at + 28, p.ping);
        PutF32(bytes, at + 32, p.soundVelocity);
        PutF32(bytes, at + 120, p.shipSpeed);
        PutF32(bytes, at + 124, p.shipGyro);
        PutF64(bytes, at + 128, p.shipY);
        PutF64(bytes, at + 136, p.shipX);
        Put8(bytes, at + 148, p.fixHour);
        Put8(bytes, at + 149, p.fixMinute);
        Put8(bytes, at + 150, p.fixSecond);
        Put8(bytes, at + 151, p.fixHundredths);
        PutF32(bytes, at + 152, p.sensorSpeed);
        PutF64(bytes, at + 160, p.sensorY);
        PutF64(bytes, at + 168, p.sensorX);
        PutF32(bytes, at + 184, p.layback);
        PutF32(bytes, at + 192, p.depth);
        PutF32(bytes, at + 196, p.altitude);
        PutF32(bytes, at + 204, p.pitch);
        PutF32(bytes, at + 208, p.roll);
        PutF32(bytes, at + 212, p.heading);
    }
};

}  // namespace xtftest
