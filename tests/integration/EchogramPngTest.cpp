// The echogram PNG of the render path is the picture as the window shows it, whatever column
// the ring of stored columns starts at: every index, and the current colour table.

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ImageOptions.h"
#include "ImageWriter.h"
#include "SimRecording.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "platform/qt/QtPlatform.h"

namespace {

TEST(EchogramPngTest, PngHoldsThePictureAsShown) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("line.svx").toStdString();
    sim::RecordingPlan plan;
    plan.records = 150;
    plan.heads = {true, false, false, true};
    std::string error;
    ASSERT_TRUE(sim::WriteSimulatedRecording(file, plan, error)) << error;

    QtPlatform platform(QtPlatform::Mode::Headless);
    CVantrelDoc doc(platform);
    doc.files.fileSystem.makeWritable = [](const std::string&) { return false; };
    cli::ImageOptions options;
    options.width = 128;
    options.colourTable = 2;
    ASSERT_TRUE(cli::PrepareImages(doc, options, error)) << error;
    doc.ResizeEchoSounder(128, 300);  // 98 scrolling columns: the ring wraps after 98 pings
    ASSERT_TRUE(doc.OpenPlaybackFile(file));
    platform.StopTimer(kTimerPlaybackDelay);
    int played = 0;
    const QString out = dir.filePath("images");
    for (int stop : {40, 150}) {
        while (played < stop) {
            ASSERT_EQ(doc.PlayNextRecord(), RecordRead::Record);
            ++played;
        }
        SCOPED_TRACE(played);
        ASSERT_TRUE(cli::WriteImageSet(doc, out.toStdString(), played, true, error)) << error;
        const EchoSounderImage& echo = doc.echoSounder;
        const QImage png(out + QString::asprintf("/echo-%06d.png", played));
        ASSERT_EQ(png.format(), QImage::Format_Indexed8);
        ASSERT_EQ(png.width(), echo.Width());
        ASSERT_EQ(png.height(), echo.Height());
        const ColourTable& table = doc.CurrentColourTable();
        for (int i = 0; i < kPaletteEntries; ++i) {
            ASSERT_EQ(png.color(i), qRgb(table[i][0], table[i][1], table[i][2])) << i;
        }
        int echoes = 0;
        for (int y = 0; y < echo.Height(); ++y) {
            const std::uint8_t* row = png.constScanLine(y);
            for (int x = 0; x < echo.Width(); ++x) {
                ASSERT_EQ(row[x], echo.At(x, y)) << x << "," << y;
                echoes += row[x] != 0;
            }
        }
        EXPECT_GT(echoes, played * 10);  // the picture is not empty
    }
}

}  // namespace
