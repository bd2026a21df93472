// The PNGs of sonvara-cli decode to exactly the document's images: every index of the 8-bit
// images with the active palette as their colour table, every byte of the 24-bit composite.

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "ImageOptions.h"
#include "ImageWriter.h"
#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"
#include "platform/qt/QtPlatform.h"

namespace {

// A data file of four-head records with random echo lines.
void WriteSurvey(const std::string& path, int records) {
    QtPlatform platform(QtPlatform::Mode::Headless);
    CVantrelDoc writer(platform);
    std::mt19937 rng(7);
    ASSERT_TRUE(writer.recording.dataFile.Open(path, DataFile::Mode::CreateWrite));
    for (int i = 0; i < records; ++i) {
        for (int h = 0; h < kHeadCount; ++h) {
            writer.heads[h].available = 1;
            for (auto& sample : writer.heads[h].line) sample = static_cast<std::uint8_t>(rng());
        }
        writer.headCount = kHeadCount;
        writer.systemInfoReceived = 1;
        LocalTime t;
        t.year = 2025, t.month = 7, t.day = 3, t.hour = 14, t.minute = 5, t.second = i % 60;
        writer.cycleTime.Stamp(t);
        writer.recording.pingNumber = i + 1;
        ASSERT_TRUE(writer.readWriteFiles.WriteRecord());
    }
    writer.recording.dataFile.Close();
}

TEST(ImageWriterTest, PngsHoldExactlyTheImagesOfTheDocument) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("survey.svx").toStdString();
    WriteSurvey(file, 300);
    QtPlatform platform(QtPlatform::Mode::Headless);
    CVantrelDoc doc(platform);
    doc.files.fileSystem.makeWritable = [](const std::string&) { return false; };
    cli::ImageOptions options;
    options.width = 333;
    options.colourTable = 4;
    std::string error;
    ASSERT_TRUE(cli::PrepareImages(doc, options, error)) << error;
    ASSERT_TRUE(doc.OpenPlaybackFile(file));
    platform.StopTimer(kTimerPlaybackDelay);
    while (doc.files.playbackPosition < doc.files.playbackFileLength) {
        ASSERT_EQ(doc.PlayNextRecord(), RecordRead::Record);
    }
    const std::string out = dir.filePath("images").toStdString();
    ASSERT_TRUE(cli::WriteImageSet(doc, out, 300, false, error)) << error;

    const Palette& palette = doc.palette.activePalette;
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        SCOPED_TRACE(HeadLabel(channel));
        const RingImage& ring = doc.images.ChannelImage(channel);
        const QImage png(QString::fromStdString(out + "/" + HeadLabel(channel) + ".png"));
        ASSERT_EQ(png.format(), QImage::Format_Indexed8);
        ASSERT_EQ(png.width(), ring.Width());
        ASSERT_EQ(png.height(), ring.Rows());
        ASSERT_EQ(png.colorCount(), kPaletteEntries);
        for (int i = 0; i < kPaletteEntries; ++i) {
            EXPECT_EQ(png.color(i), qRgb(palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]));
        }
        for (int y = 0; y < ring.Rows(); ++y) {
            ASSERT_EQ(std::memcmp(png.constScanLine(y), ring.Row(y), ring.Width()), 0) << y;
        }
    }
    const RingImage& composite = doc.images.CompositeImage();
    QImage png(QString::fromStdString(out + "/composite.png"));
    png = png.convertToFormat(QImage::Format_RGB888);
    ASSERT_EQ(png.width(), composite.Width());
    ASSERT_EQ(png.height(), composite.Rows());
    for (int y = 0; y < composite.Rows(); ++y) {
        ASSERT_EQ(std::memcmp(png.constScanLine(y), composite.Row(y), composite.BytesPerLine()), 0)
            << y;
    }
}

}  // namespace
