// Every tool that takes an XTF file, as a process, on XTF files made byte by byte that are cut
// short, claim what cannot be, or are no XTF at all: one plain line and exit 1, never a crash
// or a hang. A damaged packet, in the middle or cut off at the end, is stepped over and named,
// and the rest used; the exit status says so (the mosaic's only for a file cut off at its end:
// it steps over damage inside a file as it does in a recording).

#include <QString>

#include <filesystem>
#include <functional>

#include "../datafiles/XtfTestFile.h"
#include "../support/TempDir.h"
#include "ProcessSupport.h"

namespace {

using xtftest::TestChannel;
using xtftest::TestPing;
using xtftest::XtfBytes;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

TestChannel Side(std::uint16_t number, std::uint8_t level) {
    TestChannel c;
    c.number = number;
    c.kHz = 120;
    c.bytesPerSample = 1;
    c.samples.assign(200, level);
    for (std::size_t i = 0; i < c.samples.size(); i += 17) c.samples[i] = 250;
    return c;
}

// Pings half a second apart, sailing north at about 2 m a ping.
TestPing PingAt(int k) {
    TestPing p;
    p.ping = static_cast<std::uint32_t>(k + 1);
    p.second = k / 2;
    p.hundredths = (k % 2) * 50;
    p.sensorY = 54.0 + k * 2.0 / 111132.0;
    p.sensorX = 10.0;
    p.shipSpeed = 4.0f;
    p.shipGyro = 0.0f;
    p.altitude = 5.0f;
    p.channels = {Side(0, 60), Side(1, 90)};
    return p;
}

XtfBytes Pings(int count) {
    XtfBytes f;
    f.Header(3, {{1, 1, 8, 120, "port"}, {2, 1, 8, 120, "stbd"}});
    for (int k = 0; k < count; ++k) f.Ping(PingAt(k));
    return f;
}

std::vector<std::uint8_t> Truncated() {
    XtfBytes f = Pings(6);
    f.bytes.resize(f.bytes.size() - 150);
    return f.bytes;
}

std::vector<std::uint8_t> SixtyThousandChannels() {
    XtfBytes f = Pings(6);
    xtftest::Put16(f.bytes, 166, 60000);
    return f.bytes;
}

// The file's only ping claims 2^31 samples in a channel.
std::vector<std::uint8_t> HugeSampleCount() {
    XtfBytes f = Pings(0);
    TestPing p = PingAt(0);
    p.channels[1].numSamples = std::int64_t{1} << 31;
    f.Ping(p);
    return f.bytes;
}

std::vector<std::uint8_t> DamagedInTheMiddle() {
    XtfBytes f = Pings(3);
    const std::size_t damaged = f.Ping(PingAt(3));
    for (int k = 4; k < 12; ++k) f.Ping(PingAt(k));
    f.bytes[damaged] = 0x00;  // the magic number gone
    f.bytes[damaged + 1] = 0x00;
    return f.bytes;
}

struct BadFile {
    const char* name;
    std::function<std::vector<std::uint8_t>()> bytes;
    bool used;     // a damaged stretch stepped over: the rest of the file gives the output
    bool cutOff;   // the damage runs to the end of the file
};

struct Tool {
    const char* name;
    QStringList args;  // {in} and {out} are replaced
    const char* output;
};

void PrintTo(const BadFile& f, std::ostream* os) {
    *os << f.name;
}
void PrintTo(const Tool& t, std::ostream* os) {
    *os << t.name;
}

const BadFile kFiles[] = {
    {"truncated", Truncated, true, true},
    {"channels60000", SixtyThousandChannels, false, false},
    {"samples2pow31", HugeSampleCount, false, false},
    {"zeros", [] { return std::vector<std::uint8_t>(8192, 0); }, false, false},
    {"text",
     [] {
         const std::string text = "time,latitude,longitude\n10:00:00,54.0,10.0\n";
         return std::vector<std::uint8_t>(text.begin(), text.end());
     },
     false, false},
    {"damagedmiddle", DamagedInTheMiddle, true, false},
};

const Tool kTools[] = {
    {"info", {"info", "{in}"}, ""},
    {"render", {"render", "{in}", "--out", "{out}"}, "images"},
    {"track", {"track", "{in}", "--csv", "{out}"}, "track.csv"},
    {"events", {"events", "{in}", "--csv", "{out}"}, "events.csv"},
    {"mosaic", {"mosaic", "{in}", "--geotiff", "{out}", "--resolution", "0.5"}, "mosaic.tif"},
};

class XtfBadInput : public ::testing::TestWithParam<std::tuple<BadFile, Tool>> {};

TEST_P(XtfBadInput, OneLineAndTheExitStatus) {
    const auto& [file, tool] = GetParam();
    TempDir dir;
    const std::string input = dir.File(std::string(file.name) + ".xtf");
    TempDir::WriteBytes(input, file.bytes());
    // One event beside the file, so that the events tool has something to say of it.
    TempDir::WriteText(dir.File(std::string(file.name) + ".an"),
                       "1\n2\n0.250000\n17-MAY-2024\n09:30:00\nn/a\nn/a\nmark\n");
    const std::string output = dir.File(tool.output);
    QStringList args;
    for (const QString& a : tool.args) args << (a == "{in}" ? Q(input) : a == "{out}" ? Q(output) : a);
    const ProgramRun run = RunProgram(SONVARA_CLI_PATH, args, 30000);
    const std::string err = run.err.toStdString();
    const bool info = std::string(tool.name) == "info";
    const bool mosaicOfDamageInside = std::string(tool.name) == "mosaic" && file.used && !file.cutOff;
    EXPECT_EQ(run.exitCode, mosaicOfDamageInside ? 0 : 1) << err;
    if (file.used) {
        // info lists the damage with the file's summary on standard output.
        const QByteArray& said = info ? run.out : run.err;
        EXPECT_TRUE(said.contains(info ? "damaged at byte" : "damaged record at offset"))
            << said.toStdString();
        EXPECT_EQ(run.err.count('\n'), info ? 0 : 1) << err;
        if (!info) {
            EXPECT_TRUE(std::filesystem::exists(output)) << err;
        }
        return;
    }
    EXPECT_EQ(run.err.count('\n'), 1) << err;
    EXPECT_TRUE(run.err.startsWith("sonvara-cli: ")) << err;
    EXPECT_TRUE(run.err.contains(Q(input).toUtf8())) << err;
    // Nothing written (render has made its output folder, and nothing in it).
    if (!info && std::filesystem::is_directory(output)) {
        EXPECT_TRUE(std::filesystem::is_empty(output));
    } else if (!info) {
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

INSTANTIATE_TEST_SUITE_P(FilesAndTools, XtfBadInput,
                         ::testing::Combine(::testing::ValuesIn(kFiles), ::testing::ValuesIn(kTools)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

}  // namespace
