#pragma once
// The XTF structures an exporter of 8-bit side-scan data writes: the 1024-byte file header
// with its channel descriptions, and one sonar packet per ping (a 256-byte ping header, then
// per channel a 64-byte channel header and its samples, zero-padded to a multiple of 64
// bytes). Little-endian, packed, every field not set left zero.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace xtf {

inline constexpr int kFileHeaderLength = 1024;
inline constexpr int kChanInfoOffset = 256;
inline constexpr int kChanInfoLength = 128;
inline constexpr int kMaxChannels = 6;  // channels the 1024-byte header describes
inline constexpr int kPingHeaderLength = 256;
inline constexpr int kChannelHeaderLength = 64;
inline constexpr int kPacketAlignment = 64;
inline constexpr std::uint16_t kMagic = 0xFACE;
inline constexpr std::uint16_t kNavLatLon = 3;
// Sound velocity of the ping header: the slant ranges are one-way distances, so the one-way
// velocity (half of 1500 m/s) is stated.
inline constexpr float kOneWaySoundVelocity = 750.0f;

struct ChannelInfo {
    bool starboard = false;
    std::string name;  // "Port 120kHz"
    float frequencyKHz = 0;
    std::uint32_t samples = 0;
};

struct FileHeader {
    std::string program = "Sonvara";
    std::string version = "500";  // 5.00: EventNumber at its later place
    std::string sonarName;
    std::string note;
    std::string fileName;
    std::vector<ChannelInfo> channels;  // at most kMaxChannels
};

struct PingHeader {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, hundredths = 0;
    int julianDay = 0;
    std::uint32_t eventNumber = 0;
    std::uint32_t pingNumber = 0;
    float waterTemperature = 0;
    float shipSpeedKnots = 0;
    float shipGyro = 0;
    double latitude = 0, longitude = 0;
    int fixHour = 0, fixMinute = 0, fixSecond = 0, fixHundredths = 0;
    float sensorDepth = 0, altitude = 0, pitch = 0, roll = 0, heading = 0;
};

struct ChannelData {
    std::uint16_t number = 0;
    float slantRange = 0;
    float secondsPerPing = 0;
    std::uint16_t frequencyKHz = 0;
    std::uint16_t gain = 0;
    // Written as they lie: a port channel's samples far range first, a starboard channel's
    // nearest the fish first. nullptr: zero samples.
    const std::uint8_t* samples = nullptr;
    std::uint32_t count = 0;
};

void EncodeFileHeader(const FileHeader& header, std::uint8_t* out);
// The whole packet's length, padding included.
std::size_t PacketLength(const std::vector<ChannelData>& channels);
// Encodes the packet into out (resized to PacketLength).
void EncodePacket(const PingHeader& ping, const std::vector<ChannelData>& channels,
                  std::vector<std::uint8_t>& out);

}  // namespace xtf
