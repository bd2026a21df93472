#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <vector>

#include "document/CVantrelDoc.h"
#include "document/SettingsTable.h"
#include "shell/ProfileFile.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"

namespace {

// Gives the windows' rectangles as the main window would when settings are saved.
class RectObserver : public DocumentObserver {
public:
    bool TakeWindowRect(int window, WindowRect& rect) override {
        const auto it = taken.find(window);
        if (it == taken.end()) return false;
        rect = it->second;
        return true;
    }
    std::map<int, WindowRect> taken;
};

class SettingsTest : public ::testing::Test {
protected:
    void Load(const std::string& text) { doc.LoadSettings(ProfileFile::FromText(text)); }
    std::string SaveInto(const std::string& text) {
        ProfileFile file = ProfileFile::FromText(text);
        doc.SaveSettings(file);
        return file.Text();
    }
    static std::string Value(const std::string& text, const char* section, const char* key) {
        return ProfileFile::FromText(text).GetProfileString(section, key, "<missing>");
    }

    FakePlatform platform;
    CVantrelDoc doc{platform};
};

TEST_F(SettingsTest, AFileWithOneKeyGivesEveryOtherDefault) {
    Load("[Sonar H]\nFreqency=675000\n");
    EXPECT_EQ(doc.heads[2].frequencyHz, 675000);
    const int freqs[] = {120000, 260000, 675000, 200000};
    const char* addresses[] = {"192.168.0.2", "192.168.0.3", "192.168.0.4", "192.168.0.5"};
    for (int h = 0; h < 4; ++h) {
        EXPECT_EQ(doc.heads[h].frequencyHz, freqs[h]);
        EXPECT_EQ(doc.heads[h].ipAddress, addresses[h]);
        EXPECT_EQ(doc.heads[h].gainDb, 6);
        EXPECT_EQ(doc.heads[h].available, 1);
    }
    EXPECT_EQ(doc.range, 50);
    EXPECT_EQ(doc.rangeIndex, 9);
    EXPECT_EQ(doc.esRange, 50);
    EXPECT_EQ(doc.units, 0);
    EXPECT_DOUBLE_EQ(doc.speed.manualSpeedKnots, 3.0);
    EXPECT_EQ(doc.speed.useGpsSpeed, 1);
    EXPECT_EQ(doc.palette.colourTableIndex, 9);
    EXPECT_EQ(doc.gpsConfig.gpsBaudRate, 19200);
    EXPECT_DOUBLE_EQ(doc.orientation.compassDeclination, 22.0);
    EXPECT_EQ(doc.threeFrequencySystem, 1);
    // The switch commands carry what was loaded.
    EXPECT_EQ(doc.heads[2].command[30], 675000 & 0xFF);
}

TEST_F(SettingsTest, ConvertedValues) {
    struct Case {
        const char* text;
        int range, rangeIndex, esRange, esRangeIndex;
        double manualKnots, declination, trackZoom;
    };
    const Case cases[] = {
        {"[System]\nRange=120\nManualShipSpeed=45\n", 120, 13, 50, 9, 4.5, 22, 1.0},
        {"[System]\nRange=45\nCompassDeclination=-5\n", 45, 15, 50, 9, 3.0, -5, 1.0},
        {"[System]\nRange=7 m\n[Echo Sounder]\nES Range=300\n", 7, 15, 300, 17, 3.0, 22, 1.0},
        {"[System]\nRange=abc\nManualShipSpeed=x\n[GPS Info]\nGPS Zoom Factor=2500\n", 0, 15,
         50, 9, 0.0, 22, 2.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Load(c.text);
        EXPECT_EQ(doc.range, c.range);
        EXPECT_EQ(doc.rangeIndex, c.rangeIndex);
        EXPECT_EQ(doc.esRange, c.esRange);
        EXPECT_EQ(doc.esRangeIndex, c.esRangeIndex);
        EXPECT_DOUBLE_EQ(doc.speed.manualSpeedKnots, c.manualKnots);
        EXPECT_DOUBLE_EQ(doc.orientation.compassDeclination, c.declination);
        EXPECT_DOUBLE_EQ(doc.gpsConfig.trackZoom, c.trackZoom);
    }
}

// The age after which the GPS counts as lost: milliseconds read without the locale, brought
// into 0.1 s .. 10 min; what is not a number keeps the 3 s default.
TEST_F(SettingsTest, GpsLostAfterIsReadLocaleFreeAndBounded) {
    const std::pair<const char*, int> cases[] = {
        {"", 3000},       {"5000", 5000}, {"abc", 3000},   {"2500.7", 2500}, {"2,5", 3000},
        {"20", 100},      {"-4", 100},    {"1e9", 600000}, {"4e3", 4000},    {"600001", 600000},
    };
    for (const auto& [text, ms] : cases) {
        Load(std::string("[GPS Info]\nGPS Lost After ms=") + text + "\n");
        EXPECT_EQ(doc.gpsConfig.gpsLostAfterMs, ms) << text;
    }
    Load("[GPS Info]\n");
    EXPECT_EQ(doc.gpsConfig.gpsLostAfterMs, 3000);
    EXPECT_EQ(Value(SaveInto(""), "GPS Info", "GPS Lost After ms"), "3000");
}

TEST_F(SettingsTest, PlaybackSpeedSetsThePlaybackPeriod) {
    struct Case {
        const char* speed;
        int period;
    };
    const Case cases[] = {{"0", 100}, {"3", 70}, {"5", 50}, {"9", 10}, {"10", 0}, {"12", 0}};
    for (const Case& c : cases) {
        Load(std::string("[System]\nPlayback Speed=") + c.speed + "\n");
        EXPECT_EQ(doc.playback.playbackPeriodMs, c.period) << c.speed;
    }
    Load("");
    EXPECT_EQ(doc.playback.playSpeed, 5);
    EXPECT_EQ(doc.playback.playbackPeriodMs, 50);
}

TEST_F(SettingsTest, EmptyDirectoriesKeepTheCurrentOnes) {
    DocumentBuilder(doc).ReadDirectory("/home/survey/").WriteDirectory("/home/survey/out/");
    Load("[System]\nRead File Dir:=\nWrite File Dir:=/mnt/disk/\n");
    EXPECT_EQ(doc.playback.readFileDir, "/home/survey/");
    EXPECT_EQ(doc.recording.writeFileDir, "/mnt/disk/");
}

TEST_F(SettingsTest, SavedValuesAreWrittenInTheirOwnUnits) {
    Load("[System]\nRange=120\nManualShipSpeed=3\nCompassDeclination=-7\n");
    const std::string text = SaveInto("");
    EXPECT_EQ(Value(text, "System", "Range Index"), "13");
    EXPECT_EQ(Value(text, "System", "Range"), "120");
    EXPECT_EQ(Value(text, "System", "ManualShipSpeed"), "3") << "0.3 knots, not 2 tenths";
    EXPECT_EQ(Value(text, "System", "CompassDeclination"), "-7");
    EXPECT_EQ(Value(text, "Echo Sounder", "ES Range Index"), "9");
    EXPECT_EQ(Value(text, "Sonar M", "Freqency"), "260000");
    EXPECT_EQ(Value(text, "GPS Info", "GPS Zoom Factor"), "1000");
    EXPECT_EQ(Value(text, "View", "Show Menu Frame"), "1");
    EXPECT_EQ(Value(text, "View", "Show L Frame"), "0") << "no window exists without a frame";
}

TEST_F(SettingsTest, EchoSounderKeysAreWrittenInTheirOrder) {
    const std::string text = SaveInto("");
    const auto at = [&](const char* key) { return text.find(key, text.find("[Echo Sounder]")); };
    EXPECT_LT(at("IP Address"), at("ES Range Index"));
    EXPECT_LT(at("ES Range Index"), at("ES Range="));
    EXPECT_LT(at("ES Range="), at("Freqency"));
    EXPECT_LT(at("Freqency"), at("Gain"));
    EXPECT_LT(at("Gain"), at("Transmit Enable"));
    EXPECT_LT(at("Transmit Enable"), at("Available"));
}

TEST_F(SettingsTest, EveryKeySurvivesARoundTrip) {
    const std::string original =
        "[System]\nRead File Dir:=/data/in/\nWrite File Dir:=/data/out/\nRead Filter Index=2\n"
        "Write Filter Index=3\nPlayback Speed=7\nUnits=1\nCompassDeclination=3\nRange=200\nUseManualSpeed=1\nUseGPSSpeed=0\n"
        "ManualShipSpeed=72\n"
        "[Sonar L]\nIP Address=10.1.1.2\nFreqency=121000\nGain=11\nTransmit Enable=2\n"
        "Available=1\n"
        "[Sonar M]\nIP Address=10.1.1.3\nFreqency=261000\nGain=12\nTransmit Enable=1\n"
        "Available=0\n"
        "[Sonar H]\nIP Address=10.1.1.4\nFreqency=541000\nGain=13\nTransmit Enable=3\n"
        "Available=1\n"
        "[Echo Sounder]\nIP Address=10.1.1.5\nES Range=20\nFreqency=201000\nGain=14\n"
        "Transmit Enable=1\nAvailable=1\n"
        "[GPS Info]\nGPS Comm Port=3\nGPS Device=/dev/ttyUSB1\nBaudRate=4800\nDataBits=7\n"
        "StopBits=2\nParity=1\nFlow=1\nGPS type=2\nBaudRateIndex=4\nGPS Tracking=0\n"
        "GPS Read Interval=500\nGPS Zoom Factor=250\nGPS Lost After ms=5000\n"
        "[View]\nShow Grid=0\nShow ES Grid=0\nColor Table=4\nMarker Text Size=18\n"
        "Speed Correction Enabled=0\nAuto Synchronize with GPS Time=1\n"
        "Convert UTC to Local Time=1\nSettings Change Alarm=1\nTool Bar Visible=0\nStatus Bar Visible=0\n"
        "File Playback Bar Visible=0\nL Frame Left=5\nL Frame Top=6\nL Frame Right=700\n"
        "L Frame Bottom=800\nShow L Frame=0\n"
        "[Filters Enabled]\nPitch=1\nRoll=0\nHeading=1\nDepth=1\nTemp=0\nAltitude=1\n";
    Load(original);
    const std::string saved = SaveInto("");
    const ProfileFile in = ProfileFile::FromText(original);
    const ProfileFile out = ProfileFile::FromText(saved);
    for (const char* section :
         {"System", "Sonar L", "Sonar M", "Sonar H", "Echo Sounder", "GPS Info", "View",
          "Filters Enabled"}) {
        std::string block = original.substr(original.find(std::string("[") + section + "]"));
        block = block.substr(block.find('\n') + 1);
        block = block.substr(0, block.find('['));
        for (std::size_t pos = 0; pos < block.size();) {
            const std::size_t end = block.find('\n', pos);
            const std::string line = block.substr(pos, end - pos);
            pos = end + 1;
            const std::string key = line.substr(0, line.find('='));
            if (key.rfind("Show L", 0) == 0) continue;  // no window exists here
            EXPECT_EQ(out.GetProfileString(section, key, "<missing>"),
                      in.GetProfileString(section, key, ""))
                << section << " / " << key;
        }
    }
}

TEST_F(SettingsTest, SavingDuringPlaybackLeavesTheInstallationAlone) {
    const std::string original =
        "[Sonar L]\nIP Address=10.9.9.9\nGain=33\n[GPS Info]\nBaudRate=4800\n";
    Load(original);
    GpsPortSettings port = doc.gpsConfig;
    port.gpsBaudRate = 9600;
    DocumentBuilder(doc).Gain(kHeadL, 7).ConnectAddress("127.0.0.9").GpsPort(port).PlaybackFlag(true);
    const std::string text = SaveInto(original);
    EXPECT_EQ(Value(text, "Sonar L", "Gain"), "33");
    EXPECT_EQ(Value(text, "Sonar L", "IP Address"), "10.9.9.9");
    EXPECT_EQ(Value(text, "Sonar M", "Gain"), "<missing>");
    EXPECT_EQ(Value(text, "GPS Info", "BaudRate"), "4800");
    EXPECT_EQ(Value(text, "GPS Info", "GPS Read Interval"), "1000") << "always written";
    DocumentBuilder(doc).PlaybackFlag(false);
    EXPECT_EQ(Value(SaveInto(original), "Sonar L", "Gain"), "7");
}

TEST_F(SettingsTest, AStartUpGpsDeviceIsUsedButNeverSaved) {
    const std::string original = "[GPS Info]\nGPS Device=/dev/ttyUSB3\n";
    DocumentBuilder(doc).StartupGpsDevice("/dev/pts/7");
    // Every reading of the settings (start-up, entering real time) takes it.
    Load(original);
    EXPECT_EQ(doc.gpsConfig.gpsDevice, "/dev/pts/7");
    Load("[GPS Info]\nGPS Comm Port=2\n");
    EXPECT_EQ(doc.gpsConfig.gpsDevice, "/dev/pts/7");
    EXPECT_EQ(Value(SaveInto(original), "GPS Info", "GPS Device"), "/dev/ttyUSB3");
    EXPECT_EQ(Value(SaveInto("[GPS Info]\n"), "GPS Info", "GPS Device"), "<missing>");
    // A device the user then chose is his own: it is saved.
    DocumentBuilder(doc).GpsDevice("/dev/ttyACM0");
    EXPECT_EQ(Value(SaveInto(original), "GPS Info", "GPS Device"), "/dev/ttyACM0");
    // Without one, the settings file's device is read as before.
    DocumentBuilder(doc).StartupGpsDevice("");
    Load(original);
    EXPECT_EQ(doc.gpsConfig.gpsDevice, "/dev/ttyUSB3");
}

TEST_F(SettingsTest, OnlyOnScreenRectanglesReplaceTheStoredOnes) {
    RectObserver windows;
    doc.SetObserver(&windows);
    Load("[View]\nL Frame Left=10\nL Frame Top=20\nL Frame Right=300\nL Frame Bottom=400\n"
         "M Frame Left=11\nM Frame Top=21\nM Frame Right=301\nM Frame Bottom=401\n");
    windows.taken[kLFrame] = {-8, 20, 300, 400};  // dragged partly off the screen
    windows.taken[kMFrame] = {50, 60, 700, 800};
    const std::string text = SaveInto("");
    EXPECT_EQ(Value(text, "View", "L Frame Left"), "10");
    EXPECT_EQ(Value(text, "View", "Show L Frame"), "1");
    EXPECT_EQ(Value(text, "View", "M Frame Left"), "50");
    EXPECT_EQ(Value(text, "View", "M Frame Bottom"), "800");
    EXPECT_EQ(Value(text, "View", "Show H Frame"), "0");
    EXPECT_EQ(Value(text, "View", "H Frame Left"), std::to_string(doc.display.layout.rects[kHFrame].left))
        << "a missing window keeps the default rectangle";
    doc.SetObserver(nullptr);
}

TEST_F(SettingsTest, ForeignKeysSectionsAndCommentsArePreserved) {
    const std::string original =
        "; written by the survey office\n[System]\nRange=100\nOperator=Ann\n\n"
        "[Our Own]\nkey=value\n";
    Load(original);
    const std::string text = SaveInto(original);
    EXPECT_EQ(text.rfind("; written by the survey office\n[System]\nRange=100\n", 0), 0u);
    EXPECT_EQ(Value(text, "System", "Operator"), "Ann");
    EXPECT_EQ(Value(text, "Our Own", "key"), "value");
}

TEST_F(SettingsTest, GarbageLoadsAndIsSavedBackReadable) {
    std::string garbage = "[System]\nRange=\x01\x02\xff\nUnits=yes\n[Sonar L\nGain=-3\nGain=9\n";
    garbage += std::string(100000, 'x') + "\n[View]\nColor Table=77\n";
    garbage.push_back('\0');
    garbage += "\n[Sonar M]\r\nFreqency=99999999999\r\n";
    Load(garbage);
    EXPECT_EQ(doc.range, 0);
    EXPECT_EQ(doc.rangeIndex, 15);
    EXPECT_EQ(doc.heads[0].gainDb, -3) << "first duplicate wins; out of range taken as it is";
    EXPECT_EQ(doc.palette.colourTableIndex, 9) << "an unknown table falls back to table 9";
    EXPECT_EQ(doc.heads[1].frequencyHz, 2147483647);
    const std::string text = SaveInto(garbage);
    const ProfileFile reread = ProfileFile::FromText(text);
    EXPECT_EQ(reread.GetProfileInt("System", "Range Index", -1), 15);
    EXPECT_EQ(reread.GetProfileInt("View", "Color Table", -1), 9);
}

}  // namespace

// Every key of the table: a value other than its default, in its range, is loaded and saved
// back unchanged; and the saved file holds no key that the table does not name.
TEST_F(SettingsTest, EveryKeyOfTheTableLoadsAndSavesItsValue) {
    const auto valueFor = [](const Setting& s) -> std::string {
        // A text kept as it is; a number written as text (max set) takes a number.
        if (s.read == SettingRead::String && s.max == 0) return std::string("/other/") + s.key;
        return std::to_string(s.fallback != s.max ? s.max : s.min);
    };
    std::string text;
    std::vector<std::tuple<std::string, std::string, std::string>> expected;
    for (const SettingSection& section : SettingSections()) {
        for (int h = 0; h < (section.name ? 1 : kHeadCount); ++h) {
            const std::string name = section.name ? section.name : HeadIniSection(h);
            text += "[" + name + "]\n";
            for (const Setting& s : section.settings) {
                if (s.onlyHead >= 0 && s.onlyHead != h) continue;
                if (s.read == SettingRead::WrittenOnly) continue;
                text += std::string(s.key) + "=" + valueFor(s) + "\n";
                expected.emplace_back(name, s.key, valueFor(s));
            }
        }
    }
    Load(text);
    const std::string saved = SaveInto("");
    for (const auto& [section, key, value] : expected) {
        EXPECT_EQ(Value(saved, section.c_str(), key.c_str()), value) << section << " / " << key;
    }
    // Each saved key is in the table, or is a window's rectangle in View.
    const ProfileFile out = ProfileFile::FromText(saved);
    std::size_t keys = 0;
    for (const SettingSection& section : SettingSections()) {
        for (int h = 0; h < (section.name ? 1 : kHeadCount); ++h) {
            for (const Setting& s : section.settings) {
                if (s.onlyHead >= 0 && s.onlyHead != h) continue;
                keys += Value(saved, section.name ? section.name : HeadIniSection(h), s.key) !=
                        "<missing>";
            }
        }
    }
    std::size_t lines = 0, rectangles = 0;
    for (std::size_t at = 0; (at = saved.find('=', at)) != std::string::npos; ++at) ++lines;
    for (int w = 0; w < kLayoutWindowCount; ++w) {
        for (const char* side : {" Left", " Top", " Right", " Bottom"}) {
            rectangles += Value(saved, "View", (std::string(LayoutWindowName(w)) + side).c_str()) != "<missing>";
        }
        rectangles += Value(saved, "View", LayoutShowKey(w)) != "<missing>";
    }
    EXPECT_EQ(keys + rectangles, lines);
    EXPECT_GT(keys, 60u);
}
