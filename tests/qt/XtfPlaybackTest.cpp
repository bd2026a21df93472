// Another recorder's XTF file played in the application, as an operator opens it from
// "&Playback...": two pairs of 2-byte channels at 100 and 500 kHz land in the L and H
// windows, which are titled with the file's frequencies; the waterfalls fill with the seabed
// and its target; the track plotter follows the file's navigation; an event marked on it goes
// to the event file beside it and the XTF file is never written. With SONVARA_SCREENSHOT_DIR
// set, the main window is written there as xtf-playback-2byte.png.

#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/MenuBuilder.h"
#include "datafiles/XtfTestFile.h"
#include "document/CVantrelDoc.h"
#include "gps/FakeGpsLink.h"
#include "platform/TimerIds.h"
#include "shell/CommandIds.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "ui/datafiles/CAnnotation.h"

namespace {

using xtftest::ChanInfo;
using xtftest::TestChannel;
using xtftest::TestPing;

constexpr int kPings = 240;
constexpr int kSamples = 1024;
constexpr double kStartLatitude = 54.12;  // 5407.2000 N
constexpr double kLongitude = 10.72;      // 01043.2000 E

// A pseudo-random grain of the seabed, the same for a sample on every run.
double Grain(int ping, int sample, int side) {
    std::uint32_t h = static_cast<std::uint32_t>(ping * 7919 + sample * 104729 + side * 15485863);
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return 0.6 + 0.8 * static_cast<double>(h & 0xFFFF) / 65535.0;
}

// One side of a ping over 50 m: the water column down to 8 m of altitude, the seabed's
// return fading with range, and on the starboard side a box 22 m out with its shadow behind.
std::vector<std::uint16_t> Side(int ping, int side, double strength) {
    std::vector<std::uint16_t> values(kSamples);
    for (int j = 0; j < kSamples; ++j) {
        const double range = 50.0 * (j + 0.5) / kSamples;
        double v = range < 8.0 ? 120.0 : strength * Grain(ping, j, side) * 8.0 / range;
        const bool onTarget = side == 1 && ping >= 90 && ping < 120;
        if (onTarget && range >= 22.0 && range < 23.5) v = 30000.0;
        if (onTarget && range >= 23.5 && range < 30.0) v = 60.0;
        values[static_cast<std::size_t>(j)] = static_cast<std::uint16_t>(std::min(v, 65535.0));
    }
    return values;
}

TestChannel Channel(std::uint16_t number, std::uint16_t kHz, std::vector<std::uint16_t> values) {
    TestChannel c;
    c.number = number;
    c.kHz = kHz;
    c.slantRange = 50;
    c.samples = xtftest::Samples16(values);
    return c;
}

// Northward at 4 knots, ten pings a second, each ping with its fix; a pair of channels for
// each frequency, the higher ones weaker.
std::vector<std::uint8_t> SurveyFile(const std::vector<std::uint16_t>& frequencies) {
    xtftest::XtfBytes file;
    std::vector<ChanInfo> table;
    for (const std::uint16_t kHz : frequencies) {
        table.push_back({1, 2, 0, static_cast<float>(kHz), "port " + std::to_string(kHz)});
        table.push_back({2, 2, 0, static_cast<float>(kHz), "stbd " + std::to_string(kHz)});
    }
    file.Header(3, table);
    for (int i = 0; i < kPings; ++i) {
        TestPing p;
        p.ping = static_cast<std::uint32_t>(1000 + i);
        p.hour = 9, p.minute = 30;
        p.second = 10 + i / 10, p.hundredths = (i % 10) * 10;
        p.fixHour = p.hour, p.fixMinute = p.minute, p.fixSecond = p.second;
        p.fixHundredths = p.hundredths;
        p.shipY = p.sensorY = kStartLatitude + i * 0.206 / 111320.0;
        p.shipX = p.sensorX = kLongitude + i * 1e-7;
        p.shipSpeed = 4.0f;
        p.altitude = 8.0f;
        for (std::size_t f = 0; f < frequencies.size(); ++f) {
            const double strength = 9000.0 / static_cast<double>(f + 1);
            const auto number = static_cast<std::uint16_t>(2 * f);
            p.channels.push_back(Channel(number, frequencies[f], Side(i, 0, strength)));
            p.channels.push_back(Channel(number + 1, frequencies[f], Side(i, 1, strength)));
        }
        file.Ping(p);
        if (i % 50 == 0) file.Other(1, 128);  // notes between the pings
    }
    return file.bytes;
}

class XtfPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The application always has its GPS reader, which decodes the played sentences.
        doc.SetGpsReader(&link);
        frame.resize(1280, 860);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        path = dir.filePath("line7.xtf").toStdString();
    }

    void Write(const std::vector<std::uint16_t>& frequencies) {
        bytes = SurveyFile(frequencies);
        TempDir::WriteBytes(path, bytes);
    }

    void TearDown() override { doc.SetGpsReader(nullptr); }

    void Play(int timerTicks) {
        ASSERT_TRUE(doc.OpenPlaybackFile(path));
        platform.FireTimer(kTimerPlaybackDelay);
        for (int i = 0; i < timerTicks; ++i) platform.FireTimer(kTimerPlayback);
        frame.RefreshCommands();
        QCoreApplication::processEvents();
    }

    QStringList Titles() const {
        QStringList titles;
        for (const QMdiSubWindow* sub : frame.Mdi()->subWindowList()) titles << sub->windowTitle();
        titles.sort();
        return titles;
    }

    // The rows of an image that hold any seabed.
    static int FilledRows(const RingImage& image) {
        int filled = 0;
        for (int r = 0; r < image.Rows(); ++r) {
            const std::uint8_t* row = image.Row(r);
            if (std::any_of(row, row + image.BytesPerLine(), [](std::uint8_t b) { return b != 0; })) {
                ++filled;
            }
        }
        return filled;
    }

    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
    FakeLink link{doc.gps};
    QTemporaryDir dir;
    std::string path;
    std::vector<std::uint8_t> bytes;
};

TEST_F(XtfPlaybackTest, PlaysInTheWindowsOfItsFrequenciesWithItsTrack) {
    Write({100, 300, 600});
    Play(kPings);
    EXPECT_EQ(doc.playbackMode, 1);
    EXPECT_EQ(doc.recording.pingNumber, 1000 + kPings - 1);
    EXPECT_TRUE(doc.threeFrequencySystem);
    for (const int head : {kHeadL, kHeadM, kHeadH}) EXPECT_GT(FilledRows(doc.images.ChannelImage(head)), kPings / 2) << head;
    EXPECT_GT(FilledRows(doc.images.CompositeImage()), kPings / 2);
    const QStringList titles = Titles();
    for (const char* kHz : {"100", "300", "600"}) {
        EXPECT_TRUE(titles.contains(QStringLiteral("Sonvara_RGB -- %1 kHz").arg(kHz)))
            << kHz << ": " << titles.join(", ").toStdString();
    }
    EXPECT_FALSE(titles.contains(QStringLiteral("Sonvara_RGB -- Echo Sounder")));
    {
        std::lock_guard<std::mutex> guard(doc.gps.lock);
        EXPECT_EQ(doc.gps.track.trackPath.size(), static_cast<std::size_t>(kPings - 2));
        // 239 steps of 0.206 m northward (the plotter's y grows southward).
        EXPECT_NEAR(-doc.gps.track.trackY, (kPings - 1) * 0.206, 0.5);
        EXPECT_EQ(doc.gps.latitudeText.substr(0, 10), "54.07.2265");
    }
    // The coverage grows from the played positions as the track does: the track's length
    // times the range on each side (the file has no altitude).
    EXPECT_NEAR(doc.survey.coverage.AreaM2() / ((kPings - 1) * 0.206 * 2 * doc.range), 1.0, 0.05);
    const QByteArray shots = qgetenv("SONVARA_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        EXPECT_TRUE(frame.grab().save(QDir(QString::fromUtf8(shots)).filePath("xtf-playback-2byte.png")));
    }
    EXPECT_EQ(TempDir::ReadBytes(path), bytes) << "the XTF file was written";
}

// A dual-frequency towfish: the windows of its two heads, none of the third.
TEST_F(XtfPlaybackTest, ADualFrequencyFileShowsItsTwoHeads) {
    Write({100, 500});
    Play(20);
    EXPECT_TRUE(doc.twoFrequencySystem);
    EXPECT_FALSE(doc.threeFrequencySystem);
    EXPECT_GT(FilledRows(doc.images.ChannelImage(kHeadL)), 10);
    EXPECT_GT(FilledRows(doc.images.ChannelImage(kHeadH)), 10);
    const QStringList titles = Titles();
    EXPECT_TRUE(titles.contains(QStringLiteral("Sonvara_RGB -- 100 kHz"))) << titles.join(", ").toStdString();
    EXPECT_TRUE(titles.contains(QStringLiteral("Sonvara_RGB -- 500 kHz"))) << titles.join(", ").toStdString();
}

TEST_F(XtfPlaybackTest, AnEventGoesToTheEventFileBesideItAndNeverIntoIt) {
    Write({100, 300, 600});
    Play(150);
    QAction* enable = frame.Menus().Action(kCmdEnableEventInput);
    ASSERT_TRUE(enable->isEnabled());
    enable->trigger();
    const RingImage& composite = doc.images.CompositeImage();
    int row = -1;
    for (int r = 0; r < composite.Rows() && row < 0; ++r) {
        if (doc.images.RowStamp(kCompositeSlot, r).pingNumber == 1100) row = r;
    }
    ASSERT_GE(row, 0);
    frame.BeginNewEvent(row, composite.Width() * 3 / 4);
    CAnnotation* dialog = frame.EventDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->pingEdit->text(), QStringLiteral("1100"));
    EXPECT_EQ(dialog->latitudeEdit->text().left(9), QStringLiteral("54.07.211"));
    QTest::keyClicks(dialog->annotationEdit, QStringLiteral("box"));
    QTest::mouseClick(dialog->okButton, Qt::LeftButton);
    const std::string events = TempDir::ReadText(dir.filePath("line7.an").toStdString());
    EXPECT_NE(events.find("\n1100\n"), std::string::npos) << events;
    EXPECT_NE(events.find("\nbox\n"), std::string::npos) << events;
    doc.CloseAllFiles();
    EXPECT_EQ(TempDir::ReadBytes(path), bytes) << "the XTF file was written";

    // Played again, the event is there for review.
    Play(10);
    EXPECT_TRUE(frame.Menus().Action(kCmdEventReview)->isEnabled());
}

}  // namespace
