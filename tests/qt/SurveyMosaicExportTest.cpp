// File > Export > Survey Mosaic through the main window offscreen: two recordings, a data file
// and an XTF file, chosen together; the options asked in the real dialog; the mosaic written as
// the export registry writes it with the same options; the dialog's controls and their options.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <filesystem>

#include "../export/StraightLines.h"
#include "../export/writers/KmzContents.h"
#include "QtTestSupport.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/DataExporter.h"
#include "app/ui/MenuBuilder.h"
#include "app/ui/MosaicOptionsDialog.h"
#include "document/CVantrelDoc.h"
#include "export/ExportRegistry.h"
#include "export/XtfExport.h"
#include "shell/CommandIds.h"
#include "support/FakePlatform.h"

namespace {

void SaveScreenshot(QWidget& widget, const char* name) {
    if (!qEnvironmentVariableIsSet("SONVARA_SCREENSHOT_DIR")) return;
    const QString out =
        QDir(qEnvironmentVariable("SONVARA_SCREENSHOT_DIR")).filePath(QString::fromLatin1(name));
    EXPECT_TRUE(widget.grab().save(out));
}

class SurveyMosaicExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Two lines 60 m apart, each seeing 50 m: they overlap over a 40 m band, where one holds
        // 100 and the other 200.
        StraightLine south{.latitude = 54.0, .longitude = 9.0, .east = true, .value = 100};
        StraightLine north = south;
        north.latitude += 60.0 / kMetresPerDegreeLat;
        north.value = 200;
        svxFile = WriteStraightLine(dir, "south.svx", south);
        const std::string northData = WriteStraightLine(dir, "north data.svx", north);
        xtfFile = dir.File("north.xtf");
        ASSERT_TRUE(svx::ExportXtf(northData, xtfFile, {}).Ok());
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        exporter = frame.findChild<DataExporter*>();
        ASSERT_NE(exporter, nullptr);
    }

    // Answers the options dialog once it is up: `set` changes its controls, then OK or Cancel.
    void AnswerOptions(std::function<void(MosaicOptionsDialog&)> set, bool ok) {
        QTimer::singleShot(0, &frame, [this, set, ok] {
            auto* dialog = qobject_cast<MosaicOptionsDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no options dialog";
                return;
            }
            optionsAsked = true;
            set(*dialog);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            buttons->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
    }

    // Runs File > Export > Survey Mosaic...; the report it finished with, if it started.
    std::optional<svx::ExportReport> RunFromMenu() {
        std::optional<svx::ExportReport> report;
        const QMetaObject::Connection finished =
            QObject::connect(exporter, &DataExporter::Finished, &frame,
                             [&](const svx::ExportReport& r) { report = r; });
        frame.RefreshCommands();  // as when the menu opens
        QAction* action = frame.Menus().Action(kCmdExportSurveyMosaic);
        EXPECT_TRUE(action->isEnabled());
        action->trigger();
        if (exporter->Busy()) {
            EXPECT_TRUE(RunUntil([&] { return report.has_value(); }, 60000));
        }
        QObject::disconnect(finished);
        return report;
    }

    TempDir dir;
    std::string svxFile, xtfFile;
    FakePlatform platform;
    CVantrelDoc doc{platform};
    CMainFrame frame{doc};
    DataExporter* exporter = nullptr;
    bool optionsAsked = false;
};

TEST_F(SurveyMosaicExportTest, TheChosenRecordingsAreMosaickedWithTheOptionsOfTheDialog) {
    struct Case {
        const char* chosen;  // the name given in the save dialog
        const char* written;
    };
    for (const Case& c : {Case{"survey", "survey.tif"}, Case{"survey.kmz", "survey.kmz"}}) {
        SCOPED_TRACE(c.chosen);
        platform.filesDialogAnswers.push_back({svxFile, xtfFile});
        platform.fileDialogAnswers.push_back(dir.File(c.chosen));
        AnswerOptions(
            [](MosaicOptionsDialog& d) {
                SaveScreenshot(d, "survey-mosaic-options.png");
                EXPECT_TRUE(d.NormalizeBox()->isChecked()) << "on for several recordings";
                d.ResolutionBox()->setValue(0.5);
                d.OverlapBox()->setCurrentIndex(1);  // the largest value
                d.ThreadsBox()->setValue(2);
                d.NormalizeBox()->setChecked(false);
            },
            true);
        // What the registry writes for the same recordings and options, to another file.
        svx::ExportRequest direct;
        direct.inputs = {svxFile, xtfFile};
        direct.input = svxFile;
        direct.output = dir.File(std::string("direct-") + c.written);
        direct.kind =
            direct.output.ends_with(".kmz") ? svx::ExportKind::Kmz : svx::ExportKind::GeoTiff;
        direct.mosaic.resolutionM = 0.5;
        direct.mosaic.overlap = svx::MosaicOverlap::Max;
        direct.mosaic.threads = 1;
        direct.mosaic.normalize = false;
        const svx::ExportReport expected = svx::RunExport(direct, {});
        ASSERT_TRUE(expected.Ok()) << expected.error;
        ASSERT_NE(expected.summary.find(" from 2 recordings of 2 "), std::string::npos)
            << expected.summary;
        std::string message = expected.summary;
        const std::string out = dir.File(c.written);
        message.replace(message.find(direct.output), direct.output.size(), out);
        for (const std::string& note : expected.notes) message += "\n" + note;
        platform.expectedMessages = {message};

        const std::optional<svx::ExportReport> report = RunFromMenu();
        EXPECT_TRUE(optionsAsked);
        ASSERT_TRUE(report.has_value());
        EXPECT_TRUE(report->Ok()) << report->error;
        EXPECT_TRUE(platform.expectedMessages.empty());
        const std::vector<std::string> calls = platform.TakeCalls();
        EXPECT_NE(std::find(calls.begin(), calls.end(),
                            "open files dialog 'Survey Mosaic: Recordings' "
                            "'Recordings (*.svx *.xtf);;Sonar Files (*.svx);;XTF Files (*.xtf)'"),
                  calls.end());
        EXPECT_NE(std::find(calls.begin(), calls.end(),
                            "save dialog 'Export Survey Mosaic' 'south-survey.tif'"),
                  calls.end());
        ASSERT_TRUE(std::filesystem::exists(out));
        if (direct.kind == svx::ExportKind::GeoTiff) {
            EXPECT_TRUE(TempDir::ReadBytes(out) == TempDir::ReadBytes(direct.output))
                << "the same mosaic";
        } else {
            // The same overlay (its colours are the active palette's, not the registry's).
            const auto files = ZipFiles(out), directFiles = ZipFiles(direct.output);
            ASSERT_TRUE(files.count("doc.kml") && files.count("overlay.png"));
            EXPECT_EQ(files.at("doc.kml"), directFiles.at("doc.kml"));
            EXPECT_EQ(PngSize(files.at("overlay.png")), PngSize(directFiles.at("overlay.png")));
        }
        optionsAsked = false;
    }
}

TEST_F(SurveyMosaicExportTest, CancelInTheOptionsEndsItBeforeTheOutputIsAsked) {
    platform.filesDialogAnswers.push_back({svxFile, xtfFile});
    AnswerOptions([](MosaicOptionsDialog&) {}, false);
    EXPECT_FALSE(RunFromMenu().has_value());
    EXPECT_TRUE(optionsAsked);
    for (const std::string& call : platform.TakeCalls()) {
        EXPECT_EQ(call.find("save dialog"), std::string::npos) << call;
    }
    EXPECT_FALSE(exporter->Busy());
    // No recording chosen: nothing more is asked.
    EXPECT_FALSE(RunFromMenu().has_value());
}

TEST(SurveyMosaicOptionsTest, TheSurveyControlsGiveTheirOptions) {
    svx::MosaicOptions proposed;
    proposed.threads = 3;
    MosaicOptionsDialog single(proposed, nullptr);
    EXPECT_EQ(single.OverlapBox(), nullptr);
    EXPECT_EQ(single.NormalizeBox(), nullptr);
    EXPECT_EQ(single.Options().normalize, std::nullopt) << "left to the mosaic";
    MosaicOptionsDialog several(proposed, nullptr, true);
    EXPECT_EQ(several.ThreadsBox()->value(), 3);
    struct Case {
        int overlap, threads;
        bool normalize;
        svx::MosaicOverlap rule;
    };
    for (const Case& c :
         {Case{0, 0, true, svx::MosaicOverlap::Nearest}, Case{1, 4, false, svx::MosaicOverlap::Max},
          Case{2, 1, true, svx::MosaicOverlap::Newest}}) {
        several.OverlapBox()->setCurrentIndex(c.overlap);
        several.ThreadsBox()->setValue(c.threads);
        several.NormalizeBox()->setChecked(c.normalize);
        const svx::MosaicOptions chosen = several.Options();
        EXPECT_EQ(chosen.overlap, c.rule) << c.overlap;
        EXPECT_EQ(chosen.threads, c.threads);
        EXPECT_EQ(chosen.normalize, c.normalize);
    }
    several.ThreadsBox()->setValue(0);
    EXPECT_EQ(several.ThreadsBox()->text(), "One per core");
}

}  // namespace
