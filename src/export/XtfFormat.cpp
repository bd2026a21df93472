#include "export/XtfFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "common/ByteOrder.h"

namespace xtf {

namespace {

void PutFloat(std::uint8_t* p, float v) {
    PutLe32(p, std::bit_cast<std::uint32_t>(v));
}

// Text into a fixed field, cut to leave room for a terminating zero.
void PutText(std::uint8_t* p, const std::string& text, std::size_t field) {
    std::memcpy(p, text.data(), std::min(text.size(), field - 1));
}

void PutByte(std::uint8_t* p, int v) {
    *p = static_cast<std::uint8_t>(v);
}

void EncodeChanInfo(const ChannelInfo& channel, int index, std::uint8_t* p) {
    p[0] = channel.starboard ? 2 : 1;
    PutByte(p + 1, index);
    PutLe16(p + 2, 1);  // slant range, not corrected
    PutLe16(p + 4, 1);  // unipolar magnitudes
    PutLe16(p + 6, 1);  // one byte a sample
    PutLe32(p + 8, channel.samples);
    PutText(p + 12, channel.name, 16);
    PutFloat(p + 28, 5.0f);
    PutFloat(p + 32, channel.frequencyKHz);
    p[74] = 8;  // 1-byte integer samples
}

void EncodePingHeader(const PingHeader& ping, std::size_t channels, std::size_t length,
                      std::uint8_t* p) {
    PutLe16(p + 0, kMagic);
    PutLe16(p + 4, static_cast<std::uint16_t>(channels));
    PutLe32(p + 10, static_cast<std::uint32_t>(length));
    PutLe16(p + 14, static_cast<std::uint16_t>(ping.year));
    PutByte(p + 16, ping.month);
    PutByte(p + 17, ping.day);
    PutByte(p + 18, ping.hour);
    PutByte(p + 19, ping.minute);
    PutByte(p + 20, ping.second);
    PutByte(p + 21, ping.hundredths);
    PutLe16(p + 22, static_cast<std::uint16_t>(ping.julianDay));
    PutLe32(p + 24, ping.eventNumber);
    PutLe32(p + 28, ping.pingNumber);
    PutFloat(p + 32, kOneWaySoundVelocity);
    PutFloat(p + 64, ping.waterTemperature);
    PutFloat(p + 120, ping.shipSpeedKnots);
    PutFloat(p + 124, ping.shipGyro);
    PutLeDouble(p + 128, ping.latitude);
    PutLeDouble(p + 136, ping.longitude);
    PutByte(p + 148, ping.fixHour);
    PutByte(p + 149, ping.fixMinute);
    PutByte(p + 150, ping.fixSecond);
    PutByte(p + 151, ping.fixHundredths);
    PutFloat(p + 152, ping.shipSpeedKnots);  // the fish is taken to move with the ship
    PutLeDouble(p + 160, ping.latitude);
    PutLeDouble(p + 168, ping.longitude);
    PutFloat(p + 192, ping.sensorDepth);
    PutFloat(p + 196, ping.altitude);
    PutFloat(p + 204, ping.pitch);
    PutFloat(p + 208, ping.roll);
    PutFloat(p + 212, ping.heading);
}

std::uint8_t* EncodeChannel(const ChannelData& channel, std::uint8_t* p) {
    PutLe16(p + 0, channel.number);
    PutFloat(p + 4, channel.slantRange);
    PutFloat(p + 20, channel.secondsPerPing);
    PutLe16(p + 26, channel.frequencyKHz);
    PutLe16(p + 30, channel.gain);
    PutLe32(p + 42, channel.count);
    std::uint8_t* samples = p + kChannelHeaderLength;
    if (channel.samples) std::memcpy(samples, channel.samples, channel.count);
    return samples + channel.count;
}

}  // namespace

void EncodeFileHeader(const FileHeader& header, std::uint8_t* out) {
    std::memset(out, 0, kFileHeaderLength);
    out[0] = 123;
    out[1] = 1;
    PutText(out + 2, header.program, 8);
    PutText(out + 10, header.version, 8);
    PutText(out + 18, header.sonarName, 16);
    PutText(out + 36, header.note, 64);
    PutText(out + 100, header.fileName, 64);
    PutLe16(out + 164, kNavLatLon);
    const std::size_t count = std::min<std::size_t>(header.channels.size(), kMaxChannels);
    PutLe16(out + 166, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        EncodeChanInfo(header.channels[i], static_cast<int>(i),
                       out + kChanInfoOffset + i * kChanInfoLength);
    }
}

std::size_t PacketLength(const std::vector<ChannelData>& channels) {
    std::size_t length = kPingHeaderLength;
    for (const ChannelData& channel : channels) length += kChannelHeaderLength + channel.count;
    return (length + kPacketAlignment - 1) / kPacketAlignment * kPacketAlignment;
}

void EncodePacket(const PingHeader& ping, const std::vector<ChannelData>& channels,
                  std::vector<std::uint8_t>& out) {
    const std::size_t length = PacketLength(channels);
    out.assign(length, 0);
    EncodePingHeader(ping, channels.size(), length, out.data());
    std::uint8_t* p = out.data() + kPingHeaderLength;
    for (const ChannelData& channel : channels) p = EncodeChannel(channel, p);
}

}  // namespace xtf
