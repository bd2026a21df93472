// make_fuzz_seeds DIR: writes the starting inputs of the fuzz targets, DIR/<target>/<name>, made
// by the program's own encoders and the simulator so that every target begins from inputs its
// parser takes whole. The files in fuzz/seeds/ were made with it; they are committed, so this
// runs only when a format changes:
//   build-fuzz/fuzz/make_fuzz_seeds fuzz/seeds
// The data_file/golden-*.svx seeds are not its: they are slices of the recordings of
// tests/golden (see its README).

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SimGps.h"
#include "SimHead.h"
#include "SimRecording.h"
#include "SimReplies.h"
#include "SimScene.h"
#include "acquisition/SwitchCommand.h"
#include "document/CVantrelDoc.h"
#include "imaging/PaletteFile.h"
#include "shell/ProfileFile.h"
#include "support/NullPlatform.h"
#include "support/ValidPalette.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

fs::path outDir;

void Write(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path dir = outDir / target;
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", (dir / name).c_str());
        std::exit(1);
    }
}

void WriteText(const std::string& target, const std::string& name, const std::string& text) {
    Write(target, name, Bytes(text.begin(), text.end()));
}

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Recordings of the simulator: four heads with GPS, two records; the low head and the echo
// sounder without GPS; and a whole record followed by half of the next.
void DataFiles() {
    const fs::path temp = fs::temp_directory_path() / "sonvara-seed.svx";
    struct Plan {
        const char* name;
        int records;
        std::array<bool, 4> heads;
        bool gps;
        bool cut;
    };
    for (const Plan& p :
         {Plan{"four-heads-gps.svx", 2, {true, true, true, true}, true, false},
          Plan{"low-and-echo.svx", 2, {true, false, false, true}, false, false},
          Plan{"cut-second-record.svx", 2, {false, true, false, false}, true, true}}) {
        sim::RecordingPlan plan;
        plan.records = p.records;
        plan.heads = p.heads;
        plan.gps = p.gps;
        std::string error;
        if (!sim::WriteSimulatedRecording(temp.string(), plan, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(1);
        }
        Bytes bytes = ReadAll(temp);
        if (p.cut) bytes.resize(bytes.size() * 3 / 4);
        Write("data_file", p.name, bytes);
    }
    fs::remove(temp);
}

// Byte 0: mode and connected heads; byte 1: the piece size (1 + 8 * value), large enough that
// each reply arrives in one piece.
void HeadReplies() {
    const Bytes info = sim::BuildSystemInfoReply(sim::SystemInfoOf(sim::Installation{}));
    Bytes discovery{0x1F, static_cast<std::uint8_t>((info.size() + 7) / 8)};
    discovery.insert(discovery.end(), info.begin(), info.end());
    Write("head_reply", "discovery-system-info", discovery);

    const sim::Scene scene;
    std::array<std::uint8_t, 1000> samples{};
    for (int half = 0; half < 2; ++half) {
        scene.SideScan(1, half, 7, {}, samples.data());
        const std::uint8_t kind = half == 0 ? switchcmd::kFirstHalf : switchcmd::kSecondHalf;
        const Bytes reply = sim::BuildDataReply("SVM", 0, kind, samples.data());
        Bytes polling{0x1E, static_cast<std::uint8_t>((reply.size() + 7) / 8)};
        polling.insert(polling.end(), reply.begin(), reply.end());
        Write("head_reply", half == 0 ? "polling-port-half" : "polling-starboard-half", polling);
    }
}

template <typename T>
void Put(Bytes& out, T value) {
    std::uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof value);
    out.insert(out.end(), bytes, bytes + sizeof(T));
}

// Flags (composite, manual speed, speed correction), side mode, width and rows, samples per
// side, then cycles of range, interval, speeds, separator and three channels' lines.
void ImageFormation() {
    Bytes in{0x15, 3, 40, 60};
    Put<std::int16_t>(in, 1000);
    for (int cycle = 0; cycle < 12; ++cycle) {
        Put<std::int16_t>(in, cycle < 6 ? 50 : 100);
        Put<std::int32_t>(in, 250);
        Put<double>(in, 3.0);
        Put<float>(in, 3.5f);
        in.push_back(0);                   // speed text
        in.push_back(cycle == 6 ? 1 : 0);  // separator
        for (int c = 0; c < 3; ++c) {
            // available, intensity 1.0, zoom 1, first value, stride
            in.insert(in.end(), {1, 100, 0, static_cast<std::uint8_t>(20 + 10 * c), 9});
        }
        in.push_back(1);  // not held
    }
    Write("image_formation", "twelve-cycles", in);
}

// Byte 0: chunk length and decoding context; the rest one second's sentences, then another.
void Nmea() {
    for (const char* talker : {"GP", "GN"}) {
        std::string text(1, static_cast<char>(talker[1] == 'P' ? 0x21 : 0x84));
        const double start = 36000.0;
        for (int s = 0; s < 3; ++s) {
            text += sim::NmeaBatch(sim::VesselAt(s, 4.0), start + s, 9, 12, 2026, talker);
        }
        WriteText("nmea", std::string(talker) + "-three-seconds", text);
    }
}

// A valid palette file with a point on each curve and a colour table's colours; and the edit
// form: 'P', then (offset, byte) triples that change a valid file, the same bytes read as mouse
// gestures of five bytes.
void PaletteFiles() {
    PaletteFileContents contents = ValidPaletteContents();
    ColourTableSet tables;
    BuildColourTables(tables);
    for (int i = 0; i < kPaletteEntries; ++i) {
        for (int k = 0; k < 3; ++k) contents.palette[4 * i + k] = tables[3][i][2 - k];
    }
    const PaletteFileBytes file = EncodePaletteFile(contents);
    Write("palette_file", "three-curves.pal", Bytes(file.begin(), file.end()));
    Write("palette_file", "edits-and-drag",
          Bytes{'P',  0x00, 0x05, 0x40, 0x10, 0x01, 0x7F, 0x40, 0x00, 0x60, 0x00,
                0x01, 0x50, 0x00, 0x40, 0x00, 0x02, 0x50, 0x00, 0x40, 0x00, 0x03});
}

// The settings file a document writes, and one with a stray line and a comment.
void SettingsFiles() {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    ProfileFile written = ProfileFile::FromText("");
    doc.SaveSettings(written);
    WriteText("settings_file", "written-by-the-program.ini", written.Text());
    WriteText("settings_file", "hand-edited.ini",
              "; survey PC\r\n[Sonar L]\r\nIP Address=192.168.0.2\r\nRange=50\r\n"
              "stray line\r\n[View]\r\nColor Table = 4\r\n");
}

// Eight lines per event: number, ping, across fraction, date, time, latitude, longitude and
// the annotation.
void EventFiles() {
    WriteText("event_file", "two-events.an",
              "1\n12\n0.250000\n09-DEC-2026\n10:00:06\n5030.1234 N\n00105.6789 W\n"
              "Wreck, bow to the north\n"
              "2\n40\n0.812500\n09-DEC-2026\n10:00:20\n5030.1301 N\n00105.6702 W\nTyre\n");
    WriteText("event_file", "crlf-one-event.an",
              "7\r\n3\r\n0.500000\r\n09-DEC-2026\r\n10:00:01\r\nn/a\r\nn/a\r\nrock\r\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    outDir = argv[1];
    DataFiles();
    HeadReplies();
    ImageFormation();
    Nmea();
    PaletteFiles();
    SettingsFiles();
    EventFiles();
    return 0;
}
