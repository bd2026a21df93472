#include "app/ui/DataExporter.h"

#include <QProgressDialog>
#include <QTimer>
#include <filesystem>

#include "app/ExportChoices.h"
#include "app/ui/MosaicOptionsDialog.h"
#include "app/ui/PlaybackPause.h"
#include "document/CVantrelDoc.h"
#include "export/writers/MosaicWriters.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"

namespace {

constexpr int kProgressSteps = 1000;

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

std::string FolderOf(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string() : folder.string() + "/";
}

ColourTable ColoursOf(const Palette& palette) {
    ColourTable table{};
    for (int k = 0; k < kPaletteEntries; ++k) {
        for (int channel = 0; channel < 3; ++channel) {
            table[static_cast<std::size_t>(k)][static_cast<std::size_t>(channel)] =
                palette[static_cast<std::size_t>(4 * k + PaletteByteOf(channel))];
        }
    }
    return table;
}

// What the closing message says: the summary and the notes, or why nothing was written.
std::string OutcomeText(const svx::ExportReport& report) {
    std::string text =
        report.error.empty() ? report.summary : "Nothing was exported:\n" + report.error;
    for (const std::string& note : report.notes) text += "\n" + note;
    for (const svx::SkippedStretch& stretch : report.damage) {
        text += "\n" + svx::DamageLine(stretch);
    }
    return text;
}

}  // namespace

DataExporter::DataExporter(CVantrelDoc& document, QWidget* parentWindow, int pollMs)
    : QObject(parentWindow), doc(document), window(parentWindow), poll(new QTimer(this)) {
    svx::RegisterMosaicExports();
    poll->setInterval(pollMs);
    connect(poll, &QTimer::timeout, this, &DataExporter::Poll);
    askMosaic = [this](const svx::MosaicOptions& proposed) { return AskOptions(proposed, false); };
    askSurvey = [this](const svx::MosaicOptions& proposed) { return AskOptions(proposed, true); };
}

// The window goes with the main window; a running export is cancelled and waited for by the
// runner.
DataExporter::~DataExporter() = default;

std::optional<svx::MosaicOptions> DataExporter::AskOptions(const svx::MosaicOptions& proposed,
                                                           bool several) {
    MosaicOptionsDialog dialog(proposed, window, several);
    const PlaybackPause pause(doc);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Options();
}

std::optional<std::string> DataExporter::ChooseInput() {
    if (doc.playbackMode && doc.playback.playbackFile.IsOpen()) return doc.playback.playbackPath;
    const PlaybackPause pause(doc);
    return doc.GetPlatform().OpenFileDialog(
        {kExportInputTitle, kExportInputFilter, doc.recording.writeFileDir, {}});
}

std::string DataExporter::InputProblem(const std::string& input) const {
    if (doc.recording.recordingOn && doc.recording.DataFileOpen() &&
        SameFile(input, doc.recording.dataFile.Path())) {
        return input + " is being recorded: stop the recording before exporting it.";
    }
    return {};
}

bool DataExporter::Refused(const std::string& input) {
    const std::string problem = InputProblem(input);
    if (problem.empty()) return false;
    const PlaybackPause pause(doc);
    doc.GetPlatform().MessageBox(problem);
    return true;
}

std::optional<svx::ExportRequest> DataExporter::AskRequest(svx::ExportKind kind) {
    const ExportChoice& choice = ChoiceOf(kind);
    const std::optional<std::string> input = ChooseInput();
    if (!input || Refused(*input)) return std::nullopt;
    svx::ExportRequest request;
    request.kind = kind;
    request.input = *input;
    if (kind == svx::ExportKind::GeoTiff || kind == svx::ExportKind::Kmz) {
        const std::optional<svx::MosaicOptions> options = askMosaic(request.mosaic);
        if (!options) return std::nullopt;
        request.mosaic = *options;
        request.colours = ColoursOf(doc.palette.activePalette);
    }
    std::optional<std::string> output;
    {
        const PlaybackPause pause(doc);
        output = doc.GetPlatform().SaveFileDialog(
            {choice.title, choice.filter, FolderOf(*input), ProposedOutputName(choice, *input)});
    }
    if (!output) return std::nullopt;
    const ChosenOutput chosen = ChooseOutput(choice, *output);
    request.output = chosen.path;
    request.format = chosen.format;
    return request;
}

std::optional<svx::ExportRequest> DataExporter::AskSurveyRequest() {
    svx::ExportRequest request;
    {
        const PlaybackPause pause(doc);
        request.inputs = doc.GetPlatform().OpenFilesDialog(
            {kSurveyInputTitle, kSurveyInputFilter, doc.recording.writeFileDir, {}});
    }
    if (request.inputs.empty()) return std::nullopt;
    for (const std::string& input : request.inputs) {
        if (Refused(input)) return std::nullopt;
    }
    request.input = request.inputs.front();
    const std::optional<svx::MosaicOptions> options = askSurvey(request.mosaic);
    if (!options) return std::nullopt;
    request.mosaic = *options;
    request.colours = ColoursOf(doc.palette.activePalette);
    std::optional<std::string> output;
    {
        const PlaybackPause pause(doc);
        output = doc.GetPlatform().SaveFileDialog({kSurveyOutputTitle, kSurveyOutputFilter,
                                                   FolderOf(request.input),
                                                   ProposedSurveyName(request.input)});
    }
    if (!output) return std::nullopt;
    const SurveyOutput chosen = ChooseSurveyOutput(*output);
    request.kind = chosen.kind;
    request.output = chosen.path;
    return request;
}

void DataExporter::Export(svx::ExportKind kind) {
    if (Busy()) return;
    if (const std::optional<svx::ExportRequest> request = AskRequest(kind)) {
        Start(*request, ChoiceOf(kind).title,
              std::filesystem::path(request->input).filename().string());
    }
}

void DataExporter::ExportSurveyMosaic() {
    if (Busy()) return;
    if (const std::optional<svx::ExportRequest> request = AskSurveyRequest()) {
        const std::size_t n = request->inputs.size();
        Start(*request, kSurveyOutputTitle,
              n == 1 ? std::filesystem::path(request->input).filename().string()
                     : std::to_string(n) + " recordings");
    }
}

void DataExporter::Start(const svx::ExportRequest& request, const std::string& title,
                         const std::string& what) {
    if (!runner.Start([request, run = job](const svx::ExportProgress& report) {
            return run(request, report);
        })) {
        return;
    }
    const std::string label =
        "Exporting " + what + " to " + std::filesystem::path(request.output).filename().string();
    progress = new QProgressDialog(QString::fromStdString(label), QStringLiteral("Cancel"), 0,
                                   kProgressSteps, window);
    progress->setWindowTitle(QString::fromStdString(title));
    progress->setWindowModality(Qt::NonModal);  // the operator works on meanwhile
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    progress->setValue(0);
    connect(progress, &QProgressDialog::canceled, this, &DataExporter::Cancel);
    progress->show();
    poll->start();
}

void DataExporter::Cancel() {
    runner.Cancel();
    if (progress) progress->setLabelText(QStringLiteral("Cancelling..."));
}

void DataExporter::Poll() {
    if (runner.Running()) {
        if (progress && !progress->wasCanceled()) {
            progress->setValue(static_cast<int>(runner.Fraction() * kProgressSteps));
        }
        return;
    }
    poll->stop();
    const svx::ExportReport report = runner.Wait().value_or(svx::ExportReport{});
    if (progress) {
        progress->hide();
        progress->deleteLater();
        progress = nullptr;
    }
    if (!report.cancelled) Tell(report);
    Q_EMIT Finished(report);
}

void DataExporter::Tell(const svx::ExportReport& report) {
    const PlaybackPause pause(doc);
    doc.GetPlatform().MessageBox(OutcomeText(report));
}

void AddExportCommands(CommandTable& commands, DataExporter& exporter) {
    for (const ExportChoice& choice : ExportChoices()) {
        commands.Add(
            choice.command, [&exporter, kind = choice.kind] { exporter.Export(kind); },
            [&exporter] {
                return CommandState{!exporter.Busy(), false, {}};
            });
    }
    commands.Add(
        kCmdExportSurveyMosaic, [&exporter] { exporter.ExportSurveyMosaic(); },
        [&exporter] {
            return CommandState{!exporter.Busy(), false, {}};
        });
}
