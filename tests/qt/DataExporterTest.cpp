// File > Export end to end on the fake platform's dialogs: the input (asked, or the file being
// played), the output with its proposed name, the export on its own thread writing what the
// command-line tools write, the progress window and its Cancel, and the closing message.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QProgressDialog>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <future>

#include "QtTestSupport.h"
#include "SimRecording.h"
#include "app/ui/DataExporter.h"
#include "app/ui/MosaicOptionsDialog.h"
#include "document/CVantrelDoc.h"
#include "export/PositionExports.h"
#include "export/XtfExport.h"
#include "export/ExportRegistry.h"
#include "platform/TimerIds.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace {

class DataExporterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.File("").empty());
        std::string error;
        sim::RecordingPlan plan;
        plan.records = 300;
        ASSERT_TRUE(sim::WriteSimulatedRecording(input, plan, error)) << error;
        AddExportCommands(commands, exporter);
    }
    // Runs one export; the report it finished with.
    svx::ExportReport Run(svx::ExportKind kind) {
        std::optional<svx::ExportReport> report;
        const QMetaObject::Connection finished =
            QObject::connect(&exporter, &DataExporter::Finished, &window,
                             [&](const svx::ExportReport& r) { report = r; });
        exporter.Export(kind);
        if (exporter.Busy()) {
            EXPECT_TRUE(RunUntil([&] { return report.has_value(); }, 30000));
        }
        QObject::disconnect(finished);
        return report.value_or(svx::ExportReport{});
    }
    void Answer(std::initializer_list<std::string> answers) {
        for (const std::string& a : answers) platform.fileDialogAnswers.push_back(a);
    }
    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TempDir dir;
    std::string input = dir.File("line 7.svx");
    FakePlatform platform;
    CVantrelDoc doc{platform};
    QWidget window;
    DataExporter exporter{doc, &window, 5};
    CommandTable commands;
};

TEST_F(DataExporterTest, AChosenFileIsExportedAsTheToolWritesIt) {
    const std::string out = dir.File("out.xtf");
    Answer({input, dir.File("out")});  // the extension is added
    platform.expectedMessages = {"300 records written to " + out};
    const svx::ExportReport report = Run(svx::ExportKind::Xtf);
    EXPECT_TRUE(report.Ok()) << report.error;
    const std::vector<std::string> calls = platform.TakeCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(),
                        "open dialog 'Export from Data File' 'Sonar Files (*.svx)'"),
              calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "save dialog 'Export XTF' 'line 7.xtf'"),
              calls.end());
    EXPECT_EQ(platform.lastSaveRequest.directory, dir.File(""));
    // The tool's file, under the same name (the header carries it).
    std::filesystem::create_directory(dir.File("tool"));
    const svx::ExportReport tool = svx::ExportXtf(input, dir.File("tool/out.xtf"), {});
    ASSERT_TRUE(tool.Ok());
    EXPECT_TRUE(Bytes(out) == Bytes(dir.File("tool/out.xtf"))) << "the same bytes";
    EXPECT_TRUE(platform.expectedMessages.empty());
}

TEST_F(DataExporterTest, TheFileBeingPlayedIsExportedWithoutAskingForIt) {
    ASSERT_TRUE(doc.OpenPlaybackFile(input));
    platform.TakeCalls();
    const std::string out = dir.File("t.kml");
    Answer({out});
    TrackFixCollector collector;
    ASSERT_TRUE(svx::CollectDataFileTrack(input, collector, {}).Ok());
    platform.expectedMessages = {std::to_string(collector.Fixes().size()) +
                                 " track points written to " + out};
    EXPECT_TRUE(Run(svx::ExportKind::Track).Ok());
    for (const std::string& call : platform.TakeCalls()) {
        EXPECT_EQ(call.find("open dialog"), std::string::npos) << call;
    }
    EXPECT_EQ(Bytes(out), svx::TrackExport(collector.Fixes(), svx::GeoFormat::Kml, "line 7"));
    EXPECT_TRUE(platform.expectedMessages.empty());
}

TEST_F(DataExporterTest, CancelInTheProgressWindowLeavesNothingAndSaysNothing) {
    std::promise<void> started, cancelled;
    std::shared_future<void> gate = cancelled.get_future().share();
    exporter.SetJob(
        [&, gate](const svx::ExportRequest& request, const svx::ExportProgress& progress) {
            bool first = true;
            return svx::RunExport(request, [&](std::uint64_t done, std::uint64_t total) {
                if (first && done * 3 > total) {  // a third of the way
                    first = false;
                    started.set_value();
                    gate.wait();  // until the test has pressed Cancel
                }
                return progress(done, total);
            });
        });
    Answer({input, dir.File("c.xtf")});
    std::optional<svx::ExportReport> report;
    QObject::connect(&exporter, &DataExporter::Finished, &window,
                     [&](const svx::ExportReport& r) { report = r; });
    exporter.Export(svx::ExportKind::Xtf);
    started.get_future().wait();
    QProgressDialog* progress = exporter.ProgressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), "Export XTF");
    EXPECT_EQ(progress->labelText(), "Exporting line 7.svx to c.xtf");
    EXPECT_FALSE(commands.State(kCmdExportKmz).enabled) << "one export at a time";
    EXPECT_TRUE(RunUntil([&] { return progress->value() > 0; }, 10000)) << "the bar follows";
    if (qEnvironmentVariableIsSet("SONVARA_SCREENSHOT_DIR")) {
        const QString out = QDir(qEnvironmentVariable("SONVARA_SCREENSHOT_DIR"))
                                .filePath(QStringLiteral("export-progress.png"));
        EXPECT_TRUE(progress->grab().save(out));
    }
    QAbstractButton* cancel = progress->findChild<QAbstractButton*>();
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    cancelled.set_value();
    ASSERT_TRUE(RunUntil([&] { return report.has_value(); }, 30000));
    EXPECT_TRUE(report->cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.File("c.xtf")));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(exporter.ProgressWindow(), nullptr);
    EXPECT_TRUE(commands.State(kCmdExportKmz).enabled);
}

TEST_F(DataExporterTest, ASurveyMosaicNamesItsRecordingsInTheProgressWindowAndCancels) {
    const std::string second = dir.File("line 8.svx");
    std::filesystem::copy_file(input, second);
    exporter.SetSurveyQuestion([](const svx::MosaicOptions& proposed) {
        EXPECT_FALSE(proposed.normalize.has_value()) << "left to the number of recordings";
        return std::optional<svx::MosaicOptions>(proposed);
    });
    std::promise<void> started, cancelled;
    std::shared_future<void> gate = cancelled.get_future().share();
    exporter.SetJob(
        [&, gate](const svx::ExportRequest& request, const svx::ExportProgress& progress) {
            EXPECT_EQ(request.inputs, (std::vector<std::string>{input, second}));
            started.set_value();
            gate.wait();  // until the test has pressed Cancel
            return svx::RunExport(request, progress);
        });
    platform.filesDialogAnswers.push_back({input, second});
    Answer({dir.File("s")});
    std::optional<svx::ExportReport> report;
    QObject::connect(&exporter, &DataExporter::Finished, &window,
                     [&](const svx::ExportReport& r) { report = r; });
    exporter.ExportSurveyMosaic();
    started.get_future().wait();
    QProgressDialog* progress = exporter.ProgressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->windowTitle(), "Export Survey Mosaic");
    EXPECT_EQ(progress->labelText(), "Exporting 2 recordings to s.tif");
    EXPECT_FALSE(commands.State(kCmdExportSurveyMosaic).enabled) << "one export at a time";
    progress->findChild<QAbstractButton*>()->click();
    cancelled.set_value();
    ASSERT_TRUE(RunUntil([&] { return report.has_value(); }, 30000));
    EXPECT_TRUE(report->cancelled);
    EXPECT_FALSE(std::filesystem::exists(dir.File("s.tif")));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(commands.State(kCmdExportSurveyMosaic).enabled);
}

TEST_F(DataExporterTest, PlaybackGoesOnWhileTheFileBeingPlayedIsExported) {
    ASSERT_TRUE(doc.OpenPlaybackFile(input));
    std::promise<void> started, release;
    std::shared_future<void> gate = release.get_future().share();
    exporter.SetJob(
        [&, gate](const svx::ExportRequest& request, const svx::ExportProgress& progress) {
            started.set_value();
            gate.wait();  // the export is under way until the test has played on
            return svx::RunExport(request, progress);
        });
    const std::string out = dir.File("line 7.xtf");
    Answer({out});
    platform.expectedMessages = {"300 records written to " + out};
    std::optional<svx::ExportReport> report;
    QObject::connect(&exporter, &DataExporter::Finished, &window,
                     [&](const svx::ExportReport& r) { report = r; });
    exporter.Export(svx::ExportKind::Xtf);
    started.get_future().wait();
    // The save dialog paused the playback; it resumes after its delay and plays on.
    ASSERT_TRUE(platform.TimerRunning(kTimerPlaybackDelay));
    platform.FireTimer(kTimerPlaybackDelay);
    const std::int32_t before = doc.recording.pingNumber;
    for (int i = 0; i < 10; ++i) platform.FireTimer(kTimerPlayback);
    EXPECT_GT(doc.recording.pingNumber, before);
    EXPECT_TRUE(exporter.Busy());
    release.set_value();
    ASSERT_TRUE(RunUntil([&] { return report.has_value(); }, 30000));
    EXPECT_TRUE(report->Ok());
    EXPECT_TRUE(platform.expectedMessages.empty());
}

TEST_F(DataExporterTest, WhatCannotBeExportedIsToldAndNothingIsWritten) {
    std::string error;
    sim::RecordingPlan plan;
    plan.records = 20;
    plan.gps = false;
    const std::string noGps = dir.File("no gps.svx");
    ASSERT_TRUE(sim::WriteSimulatedRecording(noGps, plan, error)) << error;
    exporter.SetMosaicQuestion([](const svx::MosaicOptions& o) { return o; });
    struct Case {
        svx::ExportKind kind;
        std::string in, out, message;
    };
    // A data file under an XTF name, chosen as its own output.
    const std::string misnamed = dir.File("data.xtf");
    std::filesystem::copy_file(input, misnamed);
    const Case cases[] = {
        {svx::ExportKind::Xtf, misnamed, misnamed,
         "cannot write " + misnamed + ": it is the data file being exported"},
        {svx::ExportKind::GeoTiff, noGps, dir.File("m.tif"),
         noGps + " holds no position (no decoded NMEA fix): it cannot be mosaicked"},
    };
    for (const Case& c : cases) {
        Answer({c.in, c.out});
        platform.expectedMessages = {"Nothing was exported:\n" + c.message};
        EXPECT_FALSE(Run(c.kind).Ok()) << c.message;
        EXPECT_TRUE(platform.expectedMessages.empty()) << c.message;
        if (c.out != c.in) {
            EXPECT_FALSE(std::filesystem::exists(c.out)) << c.out;
        }
    }
    EXPECT_EQ(std::filesystem::file_size(misnamed), std::filesystem::file_size(input));

    // A recording without an event file has no events: none are exported, and it is said.
    Answer({input, dir.File("e.csv")});
    platform.expectedMessages = {"0 events written to " + dir.File("e.csv") + "\n" +
                                 dir.File("line 7.an") +
                                 " does not exist: the recording has no events"};
    EXPECT_TRUE(Run(svx::ExportKind::Events).Ok());
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(TempDir::ReadText(dir.File("e.csv")),
              "number,ping,date,time,latitude,longitude,across,annotation\n");
}

TEST_F(DataExporterTest, TheFileBeingRecordedIsNotExported) {
    const int all[4] = {1, 1, 1, 1};
    doc.ConfigureHeads(all);
    const std::string recording = dir.File("now.svx");
    ASSERT_TRUE(doc.StartRecordingTo(recording));
    Answer({recording});
    platform.expectedMessages = {recording +
                                 " is being recorded: stop the recording before exporting it."};
    Run(svx::ExportKind::Track);
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_FALSE(exporter.Busy());
    doc.StopRecording();
}

TEST_F(DataExporterTest, TheMosaicOptionsAreAskedFirstAndTheirCancelEndsTheExport) {
    std::optional<svx::MosaicOptions> answer;
    exporter.SetMosaicQuestion([&](const svx::MosaicOptions& proposed) {
        EXPECT_FALSE(proposed.head.has_value());
        EXPECT_TRUE(proposed.slantCorrection);
        return answer;
    });
    Answer({input});
    Run(svx::ExportKind::Kmz);
    for (const std::string& call : platform.TakeCalls()) {
        EXPECT_EQ(call.find("save dialog"), std::string::npos) << call;
    }
    answer = svx::MosaicOptions{};
    answer->head = 1;
    answer->resolutionM = 0.5;
    // What the same export says when it is run directly, to another file.
    svx::ExportRequest direct;
    direct.kind = svx::ExportKind::GeoTiff;
    direct.input = input;
    direct.output = dir.File("direct.tif");
    direct.mosaic = *answer;
    const svx::ExportReport expected = svx::RunExport(direct, {});
    ASSERT_TRUE(expected.Ok()) << expected.error;
    EXPECT_NE(expected.summary.find(" of head M written to "), std::string::npos);
    EXPECT_NE(expected.summary.find(" pixels of 0.50 m, EPSG:326"), std::string::npos);
    const std::string out = dir.File("line 7.tif");
    std::string message = expected.summary;
    message.replace(message.find(direct.output), direct.output.size(), out);
    platform.expectedMessages = {message};
    Answer({input, out});
    EXPECT_TRUE(Run(svx::ExportKind::GeoTiff).Ok());
    EXPECT_TRUE(platform.expectedMessages.empty());
    EXPECT_EQ(std::filesystem::file_size(out), std::filesystem::file_size(direct.output));
}

TEST(MosaicOptionsDialogTest, TheControlsGiveTheOptions) {
    svx::MosaicOptions proposed;
    proposed.laybackM = 12.5;
    MosaicOptionsDialog dialog(proposed, nullptr);
    if (qEnvironmentVariableIsSet("SONVARA_SCREENSHOT_DIR")) {
        const QString out = QDir(qEnvironmentVariable("SONVARA_SCREENSHOT_DIR"))
                                .filePath(QStringLiteral("mosaic-options.png"));
        EXPECT_TRUE(dialog.grab().save(out));
    }
    EXPECT_EQ(dialog.HeadBox()->currentIndex(), 0);
    EXPECT_EQ(dialog.ResolutionBox()->text(), "Automatic (range / 500)");
    EXPECT_EQ(dialog.Options().resolutionM, std::nullopt);
    EXPECT_DOUBLE_EQ(dialog.Options().laybackM, 12.5);
    dialog.HeadBox()->setCurrentIndex(3);
    dialog.ResolutionBox()->setValue(0.2);
    dialog.SlantBox()->setChecked(false);
    const svx::MosaicOptions chosen = dialog.Options();
    EXPECT_EQ(chosen.head, 2);
    EXPECT_EQ(chosen.resolutionM, 0.2);
    EXPECT_FALSE(chosen.slantCorrection);
    EXPECT_EQ(chosen.maxSidePixels, proposed.maxSidePixels);
}

}  // namespace
