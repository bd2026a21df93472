#pragma once
// A reader of side-scan XTF written by other programs: the file header and its channel
// table, then the sonar pings in file order with their navigation, attitude and the samples
// of every port and starboard channel. Packets of other types and sub-bottom and bathymetry
// channels are stepped over; damage (no packet mark, an impossible size, channels that do not
// fit their packet) is stepped over to the next packet that makes sense and reported. It reads
// through an svx::ByteSource and never writes the file.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "datafiles/RecordCodec.h"
#include "datafiles/XtfSamples.h"

namespace xtf {

// The file header's FileFormat byte.
inline constexpr std::uint8_t kFileFormatMark = 0x7B;
// Every packet starts with its mark, type, sub-channel, channel count, two reserved words and
// its size: 14 bytes.
inline constexpr int kPacketPrefixLength = 14;
// CHANINFO numbers its entries with a byte, so a table never holds more than 256 channels.
inline constexpr int kMaxDescribedChannels = 256;

enum class ChannelType : std::uint8_t { SubBottom = 0, Port = 1, Starboard = 2, Bathymetry = 3,
                                        Other = 4 };
const char* ChannelTypeText(ChannelType type);

// What the file says its sensor coordinates are.
enum class NavUnits : std::uint8_t {
    Degrees,    // NavUnits 3: y latitude, x longitude
    Projected,  // NavUnits 0: y northing, x easting, metres of a projection the file does not name
    Other,      // any other value: coordinates kept as they are, neither of the above
};

struct ChannelDescription {
    ChannelType type = ChannelType::Other;
    int typeCode = 0;  // TypeOfChannel as stored
    int subChannel = 0;
    int correctionFlags = 0;  // 1 slant range, 2 ground range
    int bytesPerSample = 0;
    int sampleFormat = 0;
    SampleType sampleType = SampleType::Unreadable;
    float frequencyKHz = 0;
    std::string name;
    // A port or starboard channel whose samples this reader reads.
    bool SideScan() const {
        return (type == ChannelType::Port || type == ChannelType::Starboard) &&
               sampleType != SampleType::Unreadable;
    }
};

struct FileDescription {
    std::string program;  // RecordingProgramName
    std::string version;  // RecordingProgramVersion, "556" for 5.56
    std::string sonarName;
    std::string note;
    std::string fileName;
    int systemType = 0;
    int sonarType = 0;
    int navUnitsCode = 0;  // as stored
    NavUnits navUnits = NavUnits::Other;
    int sonarChannels = 0;
    int bathymetryChannels = 0;
    std::uint32_t headerLength = 0;  // where the first packet starts
    // False for files of versions up to 4.30, which keep EventNumber elsewhere: their event
    // numbers read 0.
    bool eventNumberPlaced = true;
    std::vector<ChannelDescription> channels;  // the CHANINFO table, by channel number
};

// Why bytes are not a packet.
enum class PacketDamage : std::uint8_t {
    None,
    NoMagic,         // no 0xFACE where a packet should start
    TooShort,        // a size smaller than the packet's own header
    CutOff,          // the size reaches past the end of the file
    Oversized,       // a sonar packet larger than any ping
    ChannelHeaders,  // channel headers that do not fit the packet
    ChannelNumber,   // a channel number the header's table does not describe
    Samples,         // samples that do not fit the packet
};
const char* DamageText(PacketDamage damage);

// Bytes stepped over: no readable packet starts in them.
struct DamagedStretch {
    std::uint64_t offset = 0;
    std::uint64_t bytes = 0;
    PacketDamage damage = PacketDamage::NoMagic;  // what was found at the offset
};
// "damaged at byte 5120 (4096 bytes stepped over): packet cut off by the end of the file"
std::string DamageLine(const DamagedStretch& stretch);

struct PingTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, hundredths = 0;
};
struct FixTime {
    int hour = 0, minute = 0, second = 0, hundredths = 0;
};

// A position in the file's NavUnits: y latitude or northing, x longitude or easting.
struct Coordinates {
    double y = 0;
    double x = 0;
};

struct Channel {
    std::uint16_t number = 0;  // index of its description
    ChannelType type = ChannelType::Port;
    float frequencyKHz = 0;  // the channel header's, else the description's
    float slantRange = 0;    // metres the samples cover; 0 when the file's is not a range
    float secondsPerPing = 0;  // from ping to ping, as the recorder gives it (0: not given)
    SampleView samples;      // valid until the next ping is read
    // Port channels start with the sample farthest from the fish, starboard ones nearest.
    bool FarthestFirst() const { return type == ChannelType::Port; }
};

struct Ping {
    std::uint64_t offset = 0;  // of its packet in the file
    std::uint32_t length = 0;
    PingTime time;
    std::uint32_t pingNumber = 0;
    std::uint32_t eventNumber = 0;
    // None where the file holds exactly 0, 0 (or a value that is no position at all).
    std::optional<Coordinates> sensor;
    std::optional<Coordinates> ship;
    float shipSpeedKnots = 0, sensorSpeedKnots = 0;
    float heading = 0;  // sensor heading, degrees true
    float shipGyro = 0;
    float altitude = 0;  // metres above the seabed, 0 when unknown
    float depth = 0;     // metres below the surface
    float pitch = 0, roll = 0;
    float layback = 0;
    float soundVelocity = 0;
    FixTime fixTime;
    std::vector<Channel> channels;  // port and starboard channels, in packet order
    int steppedChannels = 0;        // sub-bottom, bathymetry and unreadable channels

    // The heading the swaths are laid along: the ship's gyro, as a data file's along the GPS
    // heading (a towfish's own compass is slow and disturbed near the fish's steel); the
    // sensor's when the file has no gyro heading (0).
    float ShipHeading() const { return shipGyro != 0 ? shipGyro : heading; }
    // The ship's speed, else the sensor's.
    float SpeedKnots() const { return shipSpeedKnots != 0 ? shipSpeedKnots : sensorSpeedKnots; }
};

// Reads the file header. On failure returns false and sets error to one line.
bool ReadFileDescription(svx::ByteSource& source, FileDescription& file, std::string& error);

struct WalkCounts {
    std::uint64_t pings = 0;             // sonar pings with a side-scan channel
    std::uint64_t otherPackets = 0;      // packets of other types stepped over
    std::uint64_t pingsWithoutSideScan = 0;
    std::uint64_t steppedChannels = 0;
};

class PacketWalker;

// The pings of a file, one after another.
class Reader {
public:
    explicit Reader(svx::ByteSource& source);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Reads the file header; false with a one-line error for a file this reader cannot read.
    bool Open(std::string& error);
    const FileDescription& File() const { return file; }

    // The next ping with a port or starboard channel; false at the end of the file. The
    // ping's samples point into the reader and stay valid until the next call.
    bool NextPing(Ping& ping);
    // Back to the first packet; damage and counts start again.
    void Rewind();
    // Continues at the packet that starts at offset (one NextPing returned before); damage
    // and counts go on from where they stood.
    void MoveTo(std::uint64_t offset);

    // The stretches stepped over so far; adjacent ones are merged.
    const std::vector<DamagedStretch>& Damage() const { return damage; }
    const WalkCounts& Counts() const { return counts; }

private:
    void AddDamage(const DamagedStretch& stretch);

    svx::ByteSource& source;
    FileDescription file;
    std::unique_ptr<PacketWalker> walker;
    std::vector<DamagedStretch> damage;
    WalkCounts counts;
};

}  // namespace xtf
