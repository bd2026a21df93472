// The beam coverage window. With SONVARA_SCREENSHOT_DIR set, its picture is also written
// there as beam-coverage.png.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "app/ui/CBeamChildFrm.h"
#include "app/ui/CBeamCoverView.h"
#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "support/FakePlatform.h"

namespace {

class BeamCoverageWindowTest : public ::testing::Test {
protected:
    CBeamChildFrm* Open() {
        frame.Commands().Execute(kCmdBeamCoverage);
        return frame.Mdi()->findChild<CBeamChildFrm*>();
    }
    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
};

TEST_F(BeamCoverageWindowTest, TheCommandOpensOneWindowWithItsTitle) {
    CBeamChildFrm* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Sonvara_RGB - Beam Coverage");
    Open();
    EXPECT_EQ(frame.Mdi()->findChildren<CBeamChildFrm*>().size(), 1);
}

TEST_F(BeamCoverageWindowTest, TheFiguresFollowTheSettings) {
    CBeamChildFrm* window = Open();
    ASSERT_NE(window, nullptr);
    window->Height()->setValue(10);
    window->Range()->setValue(50);
    // 260 kHz: depression 30, vertical width 20: the seabed from 40 to 20 degrees down.
    window->Width(1, 0)->setValue(30);
    window->Width(1, 1)->setValue(20);
    const QStringList lines = window->Figures()->text().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("260 kHz: 11.9 m .. 27.5 m each side (15.6 m per side)"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("nadir gap 23.8 m")) << lines[1].toStdString();
    window->Height()->setValue(60);
    EXPECT_TRUE(window->Figures()->text().contains("no seabed coverage"));
    EXPECT_EQ(window->View()->Settings().heightM, 60);
}

TEST_F(BeamCoverageWindowTest, AnotherFrequencySetLoadsItsNominalBeams) {
    doc.heads[0].frequencyHz = 100000;
    doc.heads[1].frequencyHz = 410000;
    doc.heads[2].frequencyHz = 675000;
    CBeamChildFrm* window = Open();
    ASSERT_NE(window, nullptr);
    window->FrequencySet()->setCurrentIndex(1);
    const BeamCoverageSettings& s = window->View()->Settings();
    EXPECT_EQ(s.beams[0].frequencyKHz, 100);
    EXPECT_EQ(s.beams[2].frequencyKHz, 675);
    EXPECT_EQ(window->Width(2, 1)->value(), NominalSideScanBeam(675).verticalWidthDeg);
}

TEST_F(BeamCoverageWindowTest, TheWindowAsTheOperatorSeesIt) {
    CBeamChildFrm* window = Open();
    ASSERT_NE(window, nullptr);
    auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    ASSERT_NE(sub, nullptr);
    frame.Mdi()->resize(1120, 600);
    sub->setGeometry(0, 0, 1100, 560);
    window->Height()->setValue(12);
    window->Range()->setValue(75);
    const QImage picture = sub->grab().toImage();
    // The fans are drawn, and they follow the settings: a higher towfish, another picture.
    const QImage low = window->View()->grab().toImage();
    std::set<QRgb> colours;
    for (int y = 0; y < low.height(); y += 2) {
        for (int x = 0; x < low.width(); x += 2) colours.insert(low.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 20u);
    window->Height()->setValue(30);
    EXPECT_NE(window->View()->grab().toImage(), low);
    window->Height()->setValue(12);
    const QByteArray dir = qgetenv("SONVARA_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        ASSERT_TRUE(picture.save(QString::fromUtf8(dir) + QStringLiteral("/beam-coverage.png")));
    }
}

TEST_F(BeamCoverageWindowTest, PrintingWritesThePicture) {
    CBeamChildFrm* window = Open();
    ASSERT_NE(window, nullptr);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = dir.filePath("coverage.pdf");
    printer.setOutputFileName(path);
    window->PrintTo(printer);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4) == "%PDF");
    EXPECT_GT(file.size(), 2000);
}

}  // namespace
