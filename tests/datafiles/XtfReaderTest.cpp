// The XTF reader on files made byte by byte in the test: the file header and its channel
// table, the walk over sonar and other packets, the ping's fields and each channel's samples,
// navigation units and missing positions, damage stepped over and reported, and files it
// refuses with one line.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "XtfTestFile.h"
#include "datafiles/XtfReader.h"

namespace {

using namespace xtftest;

struct ReadChannel {
    xtf::Channel channel;
    std::vector<double> values;
};

struct ReadPing {
    xtf::Ping ping;  // its channels' views are stale: use channels below
    std::vector<ReadChannel> channels;
};

struct ReadFile {
    bool opened = false;
    std::string error;
    xtf::FileDescription file;
    std::vector<ReadPing> pings;
    std::vector<xtf::DamagedStretch> damage;
    xtf::WalkCounts counts;
};

ReadFile ReadAll(const std::vector<std::uint8_t>& bytes) {
    svx::MemoryBytes source(bytes.data(), bytes.size());
    xtf::Reader reader(source);
    ReadFile result;
    result.opened = reader.Open(result.error);
    result.file = reader.File();
    xtf::Ping ping;
    while (reader.NextPing(ping)) {
        ReadPing read{ping, {}};
        for (const xtf::Channel& c : ping.channels) {
            ReadChannel channel{c, {}};
            for (std::uint32_t i = 0; i < c.samples.count; ++i) channel.values.push_back(c.samples.At(i));
            read.channels.push_back(channel);
        }
        result.pings.push_back(read);
    }
    result.damage = reader.Damage();
    result.counts = reader.Counts();
    return result;
}

std::vector<double> Values(const TestChannel& channel) {
    std::vector<double> values;
    for (std::size_t i = 0; i + 1 < channel.samples.size(); i += 2) {
        values.push_back(channel.samples[i] | (channel.samples[i + 1] << 8));
    }
    return values;
}

// Port and starboard of one frequency, 2-byte samples.
std::vector<ChanInfo> OnePair(float kHz = 100) {
    return {{1, 2, 3, kHz, "Port"}, {2, 2, 3, kHz, "Stbd"}};
}

TestPing PairPing(std::uint32_t number, std::uint16_t samples = 16) {
    TestPing p;
    p.ping = number;
    p.sensorY = 54.1 + number * 1e-5;
    p.sensorX = 10.2;
    p.channels = {Ramp(0, samples, static_cast<std::uint16_t>(1000 + number)),
                  Ramp(1, samples, static_cast<std::uint16_t>(5000 + number))};
    return p;
}

std::vector<std::uint32_t> PingNumbers(const ReadFile& read) {
    std::vector<std::uint32_t> numbers;
    for (const ReadPing& p : read.pings) numbers.push_back(p.ping.pingNumber);
    return numbers;
}

TEST(XtfReaderTest, FileHeaderAndChannelTableAreDescribed) {
    XtfBytes x;
    x.Header(3, {{1, 2, 3, 100, "Port LF"}, {2, 2, 0, 100, "Stbd LF"}, {0, 2, 3, 4, "SB"},
                 {1, 1, 8, 400, "Port HF"}, {2, 4, 5, 400, "Stbd HF"}});
    x.Ping(PairPing(1));
    const ReadFile read = ReadAll(x.bytes);
    ASSERT_TRUE(read.opened) << read.error;
    const xtf::FileDescription& f = read.file;
    EXPECT_EQ(f.program, "Tester");
    EXPECT_EQ(f.version, "556");
    EXPECT_EQ(f.sonarName, "TowFish 9");
    EXPECT_EQ(f.note, "a note");
    EXPECT_EQ(f.fileName, "line7.xtf");
    EXPECT_EQ(f.navUnits, xtf::NavUnits::Degrees);
    EXPECT_EQ(f.headerLength, 1024u);
    EXPECT_EQ(f.sonarChannels, 5);
    struct Expected {
        xtf::ChannelType type;
        int bytes;
        xtf::SampleType sampleType;
        float kHz;
        const char* name;
    };
    const Expected expected[] = {
        {xtf::ChannelType::Port, 2, xtf::SampleType::UInt16, 100, "Port LF"},
        {xtf::ChannelType::Starboard, 2, xtf::SampleType::UInt16, 100, "Stbd LF"},
        {xtf::ChannelType::SubBottom, 2, xtf::SampleType::UInt16, 4, "SB"},
        {xtf::ChannelType::Port, 1, xtf::SampleType::UInt8, 400, "Port HF"},
        {xtf::ChannelType::Starboard, 4, xtf::SampleType::Float32, 400, "Stbd HF"},
    };
    ASSERT_EQ(f.channels.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(f.channels[i].type, expected[i].type) << i;
        EXPECT_EQ(f.channels[i].bytesPerSample, expected[i].bytes) << i;
        EXPECT_EQ(f.channels[i].sampleType, expected[i].sampleType) << i;
        EXPECT_EQ(f.channels[i].frequencyKHz, expected[i].kHz) << i;
        EXPECT_EQ(f.channels[i].name, expected[i].name) << i;
        EXPECT_EQ(f.channels[i].subChannel, static_cast<int>(i));
    }
    EXPECT_FALSE(f.channels[2].SideScan());
    EXPECT_TRUE(f.channels[4].SideScan());
}

// The header grows by 1024 bytes for each further 8 channels past 6: the first packet is
// found right after it, with no damage between.
TEST(XtfReaderTest, HeaderLengthFollowsTheChannelCount) {
    const struct {
        int channels;
        std::uint32_t headerLength;
    } cases[] = {{2, 1024}, {6, 1024}, {7, 2048}, {14, 2048}, {15, 3072}, {22, 3072}, {23, 4096}};
    for (const auto& c : cases) {
        std::vector<ChanInfo> table;
        for (int i = 0; i < c.channels; ++i) table.push_back({1 + i % 2, 2, 0, 100, "c"});
        XtfBytes x;
        x.Header(3, table);
        ASSERT_EQ(x.bytes.size(), c.headerLength);
        x.Ping(PairPing(7));
        const ReadFile read = ReadAll(x.bytes);
        ASSERT_TRUE(read.opened) << read.error;
        EXPECT_EQ(read.file.headerLength, c.headerLength) << c.channels;
        EXPECT_EQ(read.file.channels.size(), static_cast<std::size_t>(c.channels));
        EXPECT_EQ(PingNumbers(read), std::vector<std::uint32_t>{7}) << c.channels;
        EXPECT_TRUE(read.damage.empty()) << c.channels;
    }
}

TEST(XtfReaderTest, PingHeaderFieldsAreRead) {
    XtfBytes x;
    x.Header(3, OnePair());
    TestPing p = PairPing(123456);
    p.event = 77;
    p.year = 2023, p.month = 11, p.day = 30, p.hour = 23, p.minute = 59, p.second = 58;
    p.hundredths = 99;
    p.sensorY = -33.5, p.sensorX = 151.25, p.shipY = -33.501, p.shipX = 151.249;
    p.shipSpeed = 4.5f, p.sensorSpeed = 4.25f, p.shipGyro = 181.5f, p.heading = 179.75f;
    p.altitude = 12.5f, p.depth = 310.25f, p.pitch = -2.5f, p.roll = 1.75f, p.layback = 85;
    p.soundVelocity = 1500;
    p.fixHour = 23, p.fixMinute = 59, p.fixSecond = 57, p.fixHundredths = 50;
    x.Ping(p);
    const ReadFile read = ReadAll(x.bytes);
    ASSERT_EQ(read.pings.size(), 1u);
    const xtf::Ping& g = read.pings[0].ping;
    EXPECT_EQ(g.offset, 1024u);
    EXPECT_EQ(g.length, x.bytes.size() - 1024);
    EXPECT_EQ(g.pingNumber, 123456u);
    EXPECT_EQ(g.eventNumber, 77u);
    EXPECT_EQ(g.time.year, 2023);
    EXPECT_EQ(g.time.month, 11);
    EXPECT_EQ(g.time.day, 30);
    EXPECT_EQ(g.time.hour, 23);
    EXPECT_EQ(g.time.minute, 59);
    EXPECT_EQ(g.time.second, 58);
    EXPECT_EQ(g.time.hundredths, 99);
    ASSERT_TRUE(g.sensor && g.ship);
    EXPECT_EQ(g.sensor->y, -33.5);
    EXPECT_EQ(g.sensor->x, 151.25);
    EXPECT_EQ(g.ship->y, -33.501);
    EXPECT_EQ(g.ship->x, 151.249);
    EXPECT_EQ(g.shipSpeedKnots, 4.5f);
    EXPECT_EQ(g.sensorSpeedKnots, 4.25f);
    EXPECT_EQ(g.shipGyro, 181.5f);
    EXPECT_EQ(g.heading, 179.75f);
    EXPECT_EQ(g.altitude, 12.5f);
    EXPECT_EQ(g.depth, 310.25f);
    EXPECT_EQ(g.pitch, -2.5f);
    EXPECT_EQ(g.roll, 1.75f);
    EXPECT_EQ(g.layback, 85.0f);
    EXPECT_EQ(g.soundVelocity, 1500.0f);
    EXPECT_EQ(g.fixTime.hour, 23);
    EXPECT_EQ(g.fixTime.minute, 59);
    EXPECT_EQ(g.fixTime.second, 57);
    EXPECT_EQ(g.fixTime.hundredths, 50);
}

// 2-byte samples in file order: the port channel's first sample is the farthest from the
// fish, the starboard channel's the nearest.
TEST(XtfReaderTest, TwoByteSamplesKeepTheirFileOrder) {
    XtfBytes x;
    x.Header(3, OnePair());
    TestPing p = PairPing(1);
    p.channels[0] = {0, 75, 0, Samples16({65535, 40000, 300, 2}), -1, 2};  // far ... near
    p.channels[1] = {1, 75, 0, Samples16({1, 2, 3, 65534, 7}), -1, 2};     // near ... far
    x.Ping(p);
    const ReadFile read = ReadAll(x.bytes);
    ASSERT_EQ(read.pings.size(), 1u);
    const auto& channels = read.pings[0].channels;
    ASSERT_EQ(channels.size(), 2u);
    EXPECT_EQ(channels[0].channel.type, xtf::ChannelType::Port);
    EXPECT_TRUE(channels[0].channel.FarthestFirst());
    EXPECT_EQ(channels[0].channel.samples.type, xtf::SampleType::UInt16);
    EXPECT_EQ(channels[0].values, (std::vector<double>{65535, 40000, 300, 2}));
    EXPECT_EQ(channels[1].channel.type, xtf::ChannelType::Starboard);
    EXPECT_FALSE(channels[1].channel.FarthestFirst());
    EXPECT_EQ(channels[1].values, (std::vector<double>{1, 2, 3, 65534, 7}));
    EXPECT_EQ(channels[0].channel.slantRange, 75.0f);
    EXPECT_EQ(channels[0].channel.frequencyKHz, 100.0f);  // from the table: the header has 0
}

// Two pairs: channels 0-1 at one frequency, 2-3 at another; the channel header's frequency
// wins over the table's.
TEST(XtfReaderTest, DualFrequencyPairsKeepTheirFrequencies) {
    XtfBytes x;
    x.Header(3, {{1, 2, 3, 100, "P lo"}, {2, 2, 3, 100, "S lo"}, {1, 2, 3, 400, "P hi"},
                 {2, 2, 3, 400, "S hi"}});
    for (std::uint32_t n = 1; n <= 3; ++n) {
        TestPing p;
        p.ping = n;
        p.channels = {Ramp(0, 8, 10), Ramp(1, 8, 20), Ramp(2, 12, 30), Ramp(3, 12, 40)};
        p.channels[2].kHz = 410;  // the header's value
        p.channels[2].slantRange = 37.5f;
        p.channels[3].slantRange = 37.5f;
        x.Ping(p);
    }
    const ReadFile read = ReadAll(x.bytes);
    ASSERT_EQ(read.pings.size(), 3u);
    for (const ReadPing& p : read.pings) {
        ASSERT_EQ(p.channels.size(), 4u);
        const struct {
            std::uint16_t number;
            xtf::ChannelType type;
            float kHz, range;
            std::size_t samples;
            double first;
        } expected[] = {{0, xtf::ChannelType::Port, 100, 50, 8, 10},
                        {1, xtf::ChannelType::Starboard, 100, 50, 8, 20},
                        {2, xtf::ChannelType::Port, 410, 37.5f, 12, 30},
                        {3, xtf::ChannelType::Starboard, 400, 37.5f, 12, 40}};
        for (std::size_t i = 0; i < 4; ++i) {
            const ReadChannel& c = p.channels[i];
            EXPECT_EQ(c.channel.number, expected[i].number);
            EXPECT_EQ(c.channel.type, expected[i].type) << i;
            EXPECT_EQ(c.channel.frequencyKHz, expected[i].kHz) << i;
            EXPECT_EQ(c.channel.slantRange, expected[i].range) << i;
            ASSERT_EQ(c.values.size(), expected[i].samples) << i;
            EXPECT_EQ(c.values.front(), expected[i].first) << i;
            EXPECT_EQ(c.values.back(), expected[i].first + expected[i].samples - 1) << i;
        }
    }
}

// Sub-bottom and bathymetry channels, of other sample sizes, between the side-scan channels
// are stepped over by their own byte counts.
TEST(XtfReaderTest, SubBottomAndBathymetryChannelsAreSteppedOver) {
    XtfBytes x;
    x.Header(3, {{1, 2, 3, 100, "Port"}, {0, 4, 2, 4, "Sub-bottom"}, {2, 2, 3, 100, "Stbd"},
                 {3, 1, 8, 200, "Bathy"}});
    TestPing p;
    p.channels = {Ramp(0, 10, 100), {1, 50, 4, std::vector<std::uint8_t>(4 * 37, 0xCE), -1, 4},
                  {3, 50, 0, std::vector<std::uint8_t>(13, 0xFA), -1, 1}, Ramp(2, 10, 200)};
    x.Ping(p);
    TestPing sideScanOnly;
    sideScanOnly.channels = {Ramp(0, 4, 1), Ramp(2, 4, 2)};
    x.Ping(sideScanOnly);
    const ReadFile read = ReadAll(x.bytes);
    ASSERT_EQ(read.pings.size(), 2u);
    const auto& channels = read.pings[0].channels;
    ASSERT_EQ(channels.size(), 2u);
    EXPECT_EQ(channels[0].values, Values(Ramp(0, 10, 100)));
    EXPECT_EQ(channels[1].channel.number, 2);
    EXPECT_EQ(channels[1].values, Values(Ramp(2, 10, 200)));
    EXPECT_EQ(read.pings[0].ping.steppedChannels, 2);
    EXPECT_EQ(read.counts.steppedChannels, 2u);
    EXPECT_TRUE(read.damage.empty());
}

// Notes, attitude and other packets between pings, of any size, are stepped over; a sonar
// packet that holds no side-scan channel is counted, not returned.
TEST(XtfReaderTest, PacketsOfOtherTypesAreSteppedOver) {
    XtfBytes x;
    x.Header(3, {{1, 2, 3, 100, "P"}, {2, 2, 3, 100, "S"}, {0, 2, 3, 4, "SB"}});
    x.Other(1, 256);  // notes
    x.Ping(PairPing(1));
    x.Other(3, 64);  // attitude
    x.Other(3, 64);
    x.Ping(PairPing(2));
    x.Other(42, 1000);  // a vendor's packet, not a multiple of 64
    x.Other(2, 14);     // as short as a packet can be
    TestPing subBottomOnly;
    subBottomOnly.ping = 99;
    subBottomOnly.channels = {Ramp(2, 20, 1)};
    x.Ping(subBottomOnly);
    x.Ping(PairPing(3));
    x.Other(7, 300);  // the last packet of the file
    const ReadFile read = ReadAll(x.bytes);
    EXPECT_EQ(PingNumbers(read), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_EQ(read.counts.otherPackets, 6u);
    EXPECT_EQ(read.counts.pings, 3u);
    EXPECT_EQ(read.counts.pingsWithoutSideScan, 1u);
    EXPECT_TRUE(read.damage.empty());
}

TEST(XtfReaderTest, ProjectedNavigationIsKeptAsEastingAndNorthing) {
    XtfBytes x;
    x.Header(0, OnePair());
    TestPing p = PairPing(1);
    p.sensorY = 6012345.5, p.sensorX = 512345.25;  // northing, easting: no latitude
    x.Ping(p);
    const ReadFile read = ReadAll(x.bytes);
    EXPECT_EQ(read.file.navUnits, xtf::NavUnits::Projected);
    ASSERT_EQ(read.pings.size(), 1u);
    ASSERT_TRUE(read.pings[0].ping.sensor);
    EXPECT_EQ(read.pings[0].ping.sensor->y, 6012345.5);
    EXPECT_EQ(read.pings[0].ping.sensor->x, 512345.25);
}

// Exactly 0, 0 is no position (recorders write it before the first fix); so is what no
// latitude and longitude can be in degrees. Anything else is a position.
TEST(XtfReaderTest, ZeroAndImpossiblePositionsAreNoPosition) {
    const struct {
        int navUnits;
        double y, x;
        bool position;
    } cases[] = {
        {3, 0, 0, false},      {3, 0, 0, false},         {3, 0.0, 5.5, true},
        {3, -0.5, 0, true},    {3, 91, 10, false},       {3, 45, 400, false},
        {3, 45, 359, true},    {3, NAN, 10, false},      {3, 45, INFINITY, false},
        {0, 0, 0, false},      {0, 6e6, 9e5, true},      {0, -1e7, 5e5, true},
    };
    for (int navUnits : {3, 0}) {
        XtfBytes x;
        x.Header(navUnits, OnePair());
        std::vector<bool> expected;
        for (const auto& c : cases) {
            if (c.navUnits != navUnits) continue;
            TestPing p = PairPing(static_cast<std::uint32_t>(expected.size()));
            p.sensorY = c.y, p.sensorX = c.x;
            x.Ping(p);
            expected.push_back(c.position);
        }
        const ReadFile read = ReadAll(x.bytes);
        ASSERT_EQ(read.pings.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(read.pings[i].ping.sensor.has_value(), expected[i]) << navUnits << " " << i;
            EXPECT_FALSE(read.pings[i].ping.ship.has_value());  // ship coordinates left 0, 0
        }
    }
}

// Versions up to 4.30 keep EventNumber elsewhere: it is not read from where later ones put it.
TEST(XtfReaderTest, EventNumberIsReadWhereTheVersionPutsIt) {
    const struct {
        const char* version;
        std::uint32_t event;
    } cases[] = {{"556", 9}, {"431", 9}, {"430", 0}, {"306", 0}, {"", 9}, {"abc", 9}};
    for (const auto& c : cases) {
        XtfBytes x;
        x.Header(3, OnePair(), -1, c.version);
        TestPing p = PairPing(1);
        p.event = 9;
        x.Ping(p);
        const ReadFile read = ReadAll(x.bytes);
        ASSERT_EQ(read.pings.size(), 1u) << c.version;
        EXPECT_EQ(read.pings[0].ping.eventNumber, c.event) << c.version;
    }
}

// Each kind of damage to the third of five pings: it is stepped over to the next packet,
// reported at its offset with its length, and the other pings are read.
TEST(XtfReaderTest, DamagedPacketInTheMiddleIsSteppedOverAndReported) {
    using Damage = xtf::PacketDamage;
    const struct {
        const char* what;
        std::size_t field;  // offset in the packet; the second channel header is at 384
        int bytes;          // 1, 2 or 4
        std::uint32_t value;
        Damage damage;
    } cases[] = {
        {"no magic", 0, 2, 0xFACF, Damage::NoMagic},
        {"size below a ping header", 10, 4, 200, Damage::TooShort},
        {"size past the end", 10, 4, 1u << 30, Damage::CutOff},
        {"size above any ping", 10, 4, 0xFFFFFFFF, Damage::CutOff},
        {"channel headers past the end", 4, 2, 60, Damage::ChannelHeaders},
        {"channel not in the table", 384, 2, 2, Damage::ChannelNumber},
        {"NumSamples 2^31", 256 + 42, 4, 1u << 31, Damage::Samples},
        {"NumSamples one too many", 384 + 42, 4, 33, Damage::Samples},
    };
    for (const auto& c : cases) {
        XtfBytes x;
        x.Header(3, OnePair());
        std::vector<std::size_t> offsets;
        for (std::uint32_t n = 1; n <= 5; ++n) offsets.push_back(x.Ping(PairPing(n, 32)));
        const std::size_t at = offsets[2] + c.field;
        if (c.bytes == 2) Put16(x.bytes, at, c.value);
        if (c.bytes == 4) Put32(x.bytes, at, c.value);
        const ReadFile read = ReadAll(x.bytes);
        EXPECT_EQ(PingNumbers(read), (std::vector<std::uint32_t>{1, 2, 4, 5})) << c.what;
        ASSERT_EQ(read.damage.size(), 1u) << c.what;
        EXPECT_EQ(read.damage[0].offset, offsets[2]) << c.what;
        EXPECT_EQ(read.damage[0].bytes, offsets[3] - offsets[2]) << c.what;
        EXPECT_EQ(read.damage[0].damage, c.damage) << c.what;
        EXPECT_EQ(read.pings[2].channels[1].values, Values(Ramp(1, 32, 5004))) << c.what;
    }
}

// Bytes that read 0xFACE inside damage are not taken for a packet unless what follows them
// makes sense.
TEST(XtfReaderTest, StrayMarksInsideDamageAreNotPackets) {
    XtfBytes x;
    x.Header(3, OnePair());
    x.Ping(PairPing(1));
    const std::size_t junk = x.bytes.size();
    x.bytes.resize(junk + 600, 0x11);
    // A "sonar packet" whose channel is not in the table, one whose size runs past the end,
    // and an "attitude packet" not followed by a packet.
    const std::size_t stray[] = {junk + 10, junk + 300, junk + 450};
    for (std::size_t s : stray) Put16(x.bytes, s, 0xFACE);
    Put8(x.bytes, stray[0] + 2, 0);
    Put16(x.bytes, stray[0] + 4, 1);
    Put32(x.bytes, stray[0] + 10, 256 + 64);
    Put8(x.bytes, stray[1] + 2, 0);
    Put32(x.bytes, stray[1] + 10, 1u << 20);
    Put8(x.bytes, stray[2] + 2, 3);
    Put32(x.bytes, stray[2] + 10, 64);
    const std::size_t next = x.Ping(PairPing(2));
    const ReadFile read = ReadAll(x.bytes);
    EXPECT_EQ(PingNumbers(read), (std::vector<std::uint32_t>{1, 2}));
    ASSERT_EQ(read.damage.size(), 1u);
    EXPECT_EQ(read.damage[0].offset, junk);
    EXPECT_EQ(read.damage[0].bytes, next - junk);
}

// A file cut inside its last packet keeps the pings before it and reports the cut packet at
// its offset, to the end of the file.
TEST(XtfReaderTest, TruncatedLastPacketIsReportedAndEarlierPingsKept) {
    for (std::size_t keep : {1, 13, 14, 255, 256, 300, 383}) {
        XtfBytes x;
        x.Header(3, OnePair());
        x.Ping(PairPing(1, 32));
        x.Ping(PairPing(2, 32));
        const std::size_t last = x.Ping(PairPing(3, 32));  // 384 bytes
        x.bytes.resize(last + keep);
        const ReadFile read = ReadAll(x.bytes);
        EXPECT_EQ(PingNumbers(read), (std::vector<std::uint32_t>{1, 2})) << keep;
        ASSERT_EQ(read.damage.size(), 1u) << keep;
        EXPECT_EQ(read.damage[0].offset, last) << keep;
        EXPECT_EQ(read.damage[0].bytes, keep) << keep;
        EXPECT_EQ(read.damage[0].damage, keep < 2 ? xtf::PacketDamage::NoMagic
                                                  : xtf::PacketDamage::CutOff)
            << keep;
    }
    EXPECT_EQ(xtf::DamageLine({2048, 300, xtf::PacketDamage::CutOff}),
              "damaged at byte 2048 (300 bytes stepped over): packet cut off by the end of the "
              "file");
}

// Files the reader cannot read at all: one line that says why, and no ping.
TEST(XtfReaderTest, UnreadableFilesGiveOneLine) {
    XtfBytes manyChannels;
    manyChannels.Header(3, OnePair(), 60000);
    XtfBytes grownHeaderMissing;  // 20 channels need 3072 bytes of header
    grownHeaderMissing.Header(3, OnePair(), 20);
    XtfBytes noSideScan;
    noSideScan.Header(3, {{0, 2, 3, 4, "SB"}, {1, 3, 0, 100, "3-byte port"}});
    noSideScan.Ping(PairPing(1));
    XtfBytes zeroChannels;
    zeroChannels.Header(3, {});
    std::vector<std::uint8_t> text(4000);
    const std::string line = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<std::uint8_t>(line[i % line.size()]);

    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* says;
    } cases[] = {
        {"60,000 channels", manyChannels.bytes, "claims 60000 channels"},
        {"header shorter than its channels", grownHeaderMissing.bytes, "needs 3072 bytes"},
        {"no side-scan channel", noSideScan.bytes, "no port or starboard channel"},
        {"no channel", zeroChannels.bytes, "no port or starboard channel"},
        {"a file of zeros", std::vector<std::uint8_t>(1 << 16, 0), "all zero"},
        {"not XTF", text, "not an XTF file: it starts with byte 0x24"},
        {"shorter than a header", std::vector<std::uint8_t>(100, 0x7B), "100 bytes, fewer than"},
        {"empty", {}, "0 bytes"},
    };
    for (const auto& c : cases) {
        const ReadFile read = ReadAll(c.bytes);
        EXPECT_FALSE(read.opened) << c.what;
        EXPECT_NE(read.error.find(c.says), std::string::npos) << c.what << ": " << read.error;
        EXPECT_EQ(read.error.find('\n'), std::string::npos) << c.what;
        EXPECT_TRUE(read.pings.empty()) << c.what;
    }
}

// NumSamples of 2^31 in the only ping: no sample is read past the packet, the packet is
// reported, and there is no ping.
TEST(XtfReaderTest, HugeSampleCountInTheOnlyPingIsDamage) {
    XtfBytes x;
    x.Header(3, OnePair());
    TestPing p = PairPing(1);
    p.channels[0].numSamples = std::int64_t{1} << 31;
    x.Ping(p);
    const ReadFile read = ReadAll(x.bytes);
    ASSERT_TRUE(read.opened);
    EXPECT_TRUE(read.pings.empty());
    ASSERT_EQ(read.damage.size(), 1u);
    EXPECT_EQ(read.damage[0].damage, xtf::PacketDamage::Samples);
    EXPECT_EQ(read.damage[0].offset, 1024u);
    EXPECT_EQ(read.damage[0].bytes, x.bytes.size() - 1024);
    EXPECT_EQ(xtf::DamageLine(read.damage[0]),
              "damaged at byte 1024 (448 bytes stepped over): channel samples reach past the "
              "packet's end");
}

// Every sample type the table can state, and what BytesPerSample says when the format is
// absent, unknown or disagrees with it.
TEST(XtfReaderTest, SampleTypesFromBytesPerSampleAndFormat) {
    const struct {
        int bytes, format;
        std::vector<std::uint8_t> raw;
        xtf::SampleType type;
        std::vector<double> values;
    } cases[] = {
        {1, 8, {0, 7, 255}, xtf::SampleType::UInt8, {0, 7, 255}},
        {1, 0, {200}, xtf::SampleType::UInt8, {200}},
        {2, 3, {0x34, 0x12, 0xFF, 0xFF}, xtf::SampleType::UInt16, {0x1234, 65535}},
        {2, 5, {0x01, 0x00}, xtf::SampleType::UInt16, {1}},  // a float cannot be 2 bytes
        {4, 2, {0x78, 0x56, 0x34, 0x12}, xtf::SampleType::UInt32, {0x12345678}},
        {4, 0, {0xFF, 0xFF, 0xFF, 0xFF}, xtf::SampleType::UInt32, {4294967295.0}},
        {4, 5, {0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0x80, 0xBF}, xtf::SampleType::Float32,
         {10.0, -1.0}},
        // IBM: 0x41100000 is 1.0, 0xC276A000 is -118.625, 0x42640000 is 100.0
        {4, 1, {0x00, 0x00, 0x10, 0x41, 0x00, 0xA0, 0x76, 0xC2, 0x00, 0x00, 0x64, 0x42},
         xtf::SampleType::IbmFloat32, {1.0, -118.625, 100.0}},
        {4, 77, {0x02, 0x00, 0x00, 0x00}, xtf::SampleType::UInt32, {2}},
    };
    for (const auto& c : cases) {
        XtfBytes x;
        x.Header(3, {{1, c.bytes, c.format, 100, "P"}, {2, 2, 3, 100, "S"}});
        TestPing p;
        p.channels = {{0, 50, 0, c.raw, -1, c.bytes}, Ramp(1, 4, 9)};
        x.Ping(p);
        const ReadFile read = ReadAll(x.bytes);
        ASSERT_EQ(read.pings.size(), 1u) << c.bytes << "/" << c.format;
        EXPECT_EQ(read.file.channels[0].sampleType, c.type) << c.bytes << "/" << c.format;
        EXPECT_EQ(read.pings[0].channels[0].values, c.values) << c.bytes << "/" << c.format;
        EXPECT_EQ(read.pings[0].channels[1].values, Values(Ramp(1, 4, 9)));
    }
}

// A side-scan channel whose samples cannot be read (3 bytes each) is stepped over by its byte
// count; the readable channel of the ping is still read.
TEST(XtfReaderTest, UnreadableSideScanChannelIsSteppedOver) {
    XtfBytes x;
    x.Header(3, {{1, 3, 0, 100, "P"}, {2, 2, 3, 100, "S"}});
    TestPing p;
    p.channels = {{0, 50, 0, std::vector<std::uint8_t>(3 * 5, 1), -1, 3}, Ramp(1, 6, 40)};
    x.Ping(p);
    const ReadFile read = ReadAll(x.bytes);
    ASSERT_EQ(read.pings.size(), 1u);
    ASSERT_EQ(read.pings[0].channels.size(), 1u);
    EXPECT_EQ(read.pings[0].channels[0].values, Values(Ramp(1, 6, 40)));
    EXPECT_EQ(read.pings[0].ping.steppedChannels, 1);
}

// A slant range no side-scan can have is not known (0): the samples stay, placed nowhere.
TEST(XtfReaderTest, ImpossibleSlantRangesAreNotKnown) {
    const struct {
        float stored, read;
    } cases[] = {{75.0f, 75.0f},
                 {0.0f, 0.0f},
                 {-5.0f, 0.0f},
                 {std::numeric_limits<float>::quiet_NaN(), 0.0f},
                 {std::numeric_limits<float>::infinity(), 0.0f},
                 {1e9f, 0.0f},
                 {100000.0f, 100000.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        XtfBytes f;
        f.Header(3, OnePair());
        TestPing p = PairPing(1);
        p.channels[0].slantRange = c.stored;
        f.Ping(p);
        const ReadFile read = ReadAll(f.bytes);
        ASSERT_EQ(read.pings.size(), 1u);
        ASSERT_EQ(read.pings[0].channels.size(), 2u);
        EXPECT_EQ(read.pings[0].channels[0].channel.slantRange, c.read);
        EXPECT_EQ(read.pings[0].channels[0].values.size(), 16u);
    }
}

TEST(XtfReaderTest, RewindReadsThePingsAgain) {
    XtfBytes x;
    x.Header(3, OnePair());
    for (std::uint32_t n = 1; n <= 3; ++n) x.Ping(PairPing(n));
    x.bytes.resize(x.bytes.size() + 100, 0);  // damage at the end
    svx::MemoryBytes source(x.bytes.data(), x.bytes.size());
    xtf::Reader reader(source);
    std::string error;
    ASSERT_TRUE(reader.Open(error));
    xtf::Ping ping;
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::uint32_t> numbers;
        while (reader.NextPing(ping)) numbers.push_back(ping.pingNumber);
        EXPECT_EQ(numbers, (std::vector<std::uint32_t>{1, 2, 3})) << pass;
        EXPECT_EQ(reader.Damage().size(), 1u) << pass;
        EXPECT_EQ(reader.Counts().pings, 3u) << pass;
        reader.Rewind();
    }
}

}  // namespace
