// The Save Screen command end to end: the wait, the capture, the dialog, the writers, and
// ImageMagick reading every written file back.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "QtTestSupport.h"
#include "app/ScreenImageFormat.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ScreenImage.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "support/FakePlatform.h"

namespace {

// ImageMagick's description of a file: "FORMAT WIDTHxHEIGHT", or the error it printed.
QString Identify(const QString& path) {
    QProcess identify;
    identify.start(QStringLiteral("identify"),
                   {QStringLiteral("-format"), QStringLiteral("%m %wx%h\\n"), path});
    if (!identify.waitForFinished(20000)) return QStringLiteral("identify did not finish");
    const QString out = QString::fromUtf8(identify.readAllStandardOutput()).trimmed();
    return out.isEmpty() ? QString::fromUtf8(identify.readAllStandardError())
                         : out.section('\n', 0, 0);
}

class SaveScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("identify")).isEmpty())
            << "ImageMagick's identify is needed (scripts/setup installs imagemagick)";
        frame.resize(640, 480);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        doc.recording.writeFileDir = dir.path().toStdString();
    }
    // Runs the command with the dialog answering `answer`; true when it saved.
    bool Save(std::optional<std::string> answer) {
        platform.fileDialogAnswers.push_back(std::move(answer));
        bool finished = false, saved = false;
        QObject::connect(&saver, &ScreenSaver::Finished, &frame, [&](bool ok) {
            finished = true;
            saved = ok;
        });
        saver.SaveScreen();
        EXPECT_TRUE(RunUntil([&] { return finished; }, 10000));
        QObject::disconnect(&saver, &ScreenSaver::Finished, &frame, nullptr);
        return saved;
    }
    std::string In(const char* name) {
        return dir.filePath(QString::fromLatin1(name)).toStdString();
    }

    QTemporaryDir dir;
    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
    ScreenSaver saver{doc, &frame, 20};
};

TEST_F(SaveScreenTest, EachFormatIsWrittenAndReadBack) {
    struct Case {
        const char* chosen;
        const char* written;
        const char* magick;
    };
    const Case cases[] = {
        {"shot.BMP", "shot.bmp", "BMP3"}, {"shot.gif", "shot.gif", "GIF"},
        {"shot.Jpg", "shot.jpg", "JPEG"}, {"shot.tiff", "shot.tiff", "TIFF"},
        {"shot.PNG", "shot.png", "PNG"},
    };
    const QImage screen = CaptureScreen();
    ASSERT_FALSE(screen.isNull());
    for (const Case& c : cases) {
        ASSERT_TRUE(Save(In(c.chosen))) << c.chosen;
        const QString written = QString::fromStdString(In(c.written));
        ASSERT_TRUE(QFile::exists(written)) << c.written;
        EXPECT_EQ(Identify(written), QStringLiteral("%1 %2x%3")
                                         .arg(QLatin1String(c.magick))
                                         .arg(screen.width())
                                         .arg(screen.height()));
    }
}

TEST_F(SaveScreenTest, TheGifKeepsThePictureRecognisable) {
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 0));
    for (int x = 32; x < 64; ++x) {
        for (int y = 0; y < 32; ++y) picture.setPixelColor(x, y, QColor(0, 0, 255));
    }
    const std::string path = In("two.gif");
    ASSERT_EQ(WriteScreenImage(picture, path).outcome, ScreenWrite::Saved);
    const QImage back(QString::fromStdString(path));
    ASSERT_EQ(back.size(), picture.size());
    EXPECT_EQ(back.pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(back.pixelColor(60, 20), QColor(0, 0, 255));
}

TEST_F(SaveScreenTest, TheDialogStartsInTheDataDirectoryWithTheFiveFilters) {
    platform.StartTimer(kTimerPlayback, 100);
    platform.TakeCalls();
    EXPECT_FALSE(Save(std::nullopt));
    EXPECT_EQ(platform.lastSaveRequest.title, "Save Image As:");
    EXPECT_EQ(platform.lastSaveRequest.filter, ScreenImageFilterText());
    EXPECT_EQ(platform.lastSaveRequest.directory, dir.path().toStdString());
    // The playback tick is stopped before the dialog opens.
    const auto calls = platform.TakeCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "timer 1030 stopped");
    EXPECT_EQ(calls[1].rfind("save dialog 'Save Image As:'", 0), 0u) << calls[1];
    // Cancelled: nothing written, nothing said.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(SaveScreenTest, TheWaitLetsTheEventLoopRun) {
    bool ranMeanwhile = false;
    QTimer::singleShot(0, &frame,
                       [&] { ranMeanwhile = platform.messages.empty() && saver.Busy(); });
    EXPECT_TRUE(Save(In("later.png")));
    EXPECT_TRUE(ranMeanwhile);
}

TEST_F(SaveScreenTest, RefusedNamesAndFailedWritesAreTold) {
    platform.expectedMessages = {"Invalid File Format"};
    EXPECT_FALSE(Save(In("shot.jpeg")));
    platform.expectedMessages = {"Invalid File Format"};
    EXPECT_FALSE(Save(In("shot.bm")));
    // A directory that is not there: the write fails and says so.
    platform.expectedMessages = {"Can't save the screen!"};
    EXPECT_FALSE(Save(In("missing/shot.png")));
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(SaveScreenTest, DirectoriesKeepTheirCase) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Survey")));
    EXPECT_TRUE(Save(In("Survey/Shot.PNG")));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(In("Survey/shot.png"))));
}

}  // namespace
