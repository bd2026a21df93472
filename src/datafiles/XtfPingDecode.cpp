// A sonar packet into a ping: the fields of the 256-byte ping header, then each channel header
// with its samples, checked against the packet's size before anything is read.

#include <bit>
#include <cmath>

#include "common/ByteOrder.h"
#include "datafiles/XtfPacketWalk.h"
#include "export/XtfFormat.h"

namespace xtf {

namespace {

float F32(const std::uint8_t* p) {
    return std::bit_cast<float>(GetLe32(p));
}

// Channel header fields.
constexpr int kChannelNumber = 0;
constexpr int kSlantRange = 4;
constexpr int kSecondsPerPing = 20;
constexpr int kChannelFrequency = 26;
constexpr int kNumSamples = 42;
constexpr float kLongestSlantRangeM = 100000.0f;

// Exactly 0, 0 is what recorders write before a fix; values that are no number, and degrees
// beyond a latitude or a longitude (0..360 allowed), are no position either.
std::optional<Coordinates> PositionOf(const std::uint8_t* yField, const std::uint8_t* xField,
                                      NavUnits units) {
    const Coordinates c{GetLeDouble(yField), GetLeDouble(xField)};
    if (!std::isfinite(c.y) || !std::isfinite(c.x)) return std::nullopt;
    if (c.y == 0 && c.x == 0) return std::nullopt;
    if (units == NavUnits::Degrees && (std::fabs(c.y) > 90 || std::fabs(c.x) > 360)) {
        return std::nullopt;
    }
    return c;
}

void DecodePingHeader(const std::uint8_t* p, const FileDescription& file, Ping& ping) {
    ping.time = {GetLe16(p + 14), p[16], p[17], p[18], p[19], p[20], p[21]};
    ping.eventNumber = file.eventNumberPlaced ? GetLe32(p + 24) : 0;
    ping.pingNumber = GetLe32(p + 28);
    ping.soundVelocity = F32(p + 32);
    ping.shipSpeedKnots = F32(p + 120);
    ping.shipGyro = F32(p + 124);
    ping.ship = PositionOf(p + 128, p + 136, file.navUnits);
    ping.fixTime = {p[148], p[149], p[150], p[151]};
    ping.sensorSpeedKnots = F32(p + 152);
    ping.sensor = PositionOf(p + 160, p + 168, file.navUnits);
    ping.layback = F32(p + 184);
    ping.depth = F32(p + 192);
    ping.altitude = F32(p + 196);
    ping.pitch = F32(p + 204);
    ping.roll = F32(p + 208);
    ping.heading = F32(p + 212);
}

Channel ChannelOf(const std::uint8_t* h, const ChannelDescription& description,
                  std::uint32_t count) {
    Channel channel;
    channel.number = GetLe16(h + kChannelNumber);
    channel.type = description.type;
    const std::uint16_t kHz = GetLe16(h + kChannelFrequency);
    channel.frequencyKHz = kHz ? kHz : description.frequencyKHz;
    // A range no side-scan can have (not a number, negative, beyond 100 km) is not known.
    const float range = F32(h + kSlantRange);
    channel.slantRange = std::isfinite(range) && range >= 0 && range <= kLongestSlantRangeM ? range : 0;
    channel.secondsPerPing = F32(h + kSecondsPerPing);
    channel.samples = {h + kChannelHeaderLength, count, description.sampleType};
    return channel;
}

}  // namespace

PacketDamage DecodeSonarPacket(const std::uint8_t* p, std::uint32_t length,
                               const FileDescription& file, Ping* ping) {
    if (ping) {
        ping->channels.clear();
        ping->steppedChannels = 0;
    }
    const int channels = GetLe16(p + 4);
    std::uint64_t at = kPingHeaderLength;
    for (int k = 0; k < channels; ++k) {
        if (length - at < kChannelHeaderLength) return PacketDamage::ChannelHeaders;
        const std::uint8_t* h = p + at;
        const std::uint16_t number = GetLe16(h + kChannelNumber);
        if (number >= file.channels.size()) return PacketDamage::ChannelNumber;
        const ChannelDescription& description = file.channels[number];
        const std::uint32_t count = GetLe32(h + kNumSamples);
        const std::uint64_t bytes =
            static_cast<std::uint64_t>(count) * static_cast<std::uint64_t>(description.bytesPerSample);
        at += kChannelHeaderLength;
        if (bytes > length - at) return PacketDamage::Samples;
        at += bytes;
        if (!ping) continue;
        if (description.SideScan()) {
            ping->channels.push_back(ChannelOf(h, description, count));
        } else {
            ++ping->steppedChannels;
        }
    }
    if (ping) DecodePingHeader(p, file, *ping);
    return PacketDamage::None;
}

}  // namespace xtf
