#include "app/ui/DataExporter.h"

#include <QProgressDialog>
#include <QTimer>
#include <filesystem>

#include "app/ExportChoices.h"
#include "app/ui/MosaicOptionsDialog.h"
#include "app/ui/PlaybackPause.h"
#include "document/CVantrelDoc.h"
#include "export/writers/MosaicWriters.h"
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
    askMosaic = [this](const svx::MosaicOptions& proposed) -> std::optional<svx::MosaicOptions> {
        MosaicOptionsDialog dialog(proposed, window);
        const PlaybackPause pause(doc);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.Options();
    };
}

// The window goes with the main window; a running export is cancelled and waited for by the
// runner.
DataExporter::~DataExporter() = default;

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

std::optional<svx::ExportRequest> DataExporter::AskRequest(svx::ExportKind kind) {
    const ExportChoice& choice = ChoiceOf(kind);
    const std::optional<std::string> input = ChooseInput();
    if (!input) return std::nullopt;
    if (const std::string problem = InputProblem(*input); !problem.empty()) {
        const PlaybackPause pause(doc);
        doc.GetPlatform().MessageBox(problem);
        return std::nullopt;
    }
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

void DataExporter::Export(svx::ExportKind kind) {
    if (Busy()) return;
    if (const std::optional<svx::ExportRequest> request = AskRequest(kind)) Start(*request);
}

void DataExporter::Start(const svx::ExportRequest& request) {
    if (!runner.Start([request, run = job](const svx::ExportProgress& report) {
            return run(request, report);
        })) {
        return;
    }
    const ExportChoice& choice = ChoiceOf(request.kind);
    const std::string label = "Exporting " +
                              std::filesystem::path(request.input).filename().string() + " to " +
                              std::filesystem::path(request.output).filename().string();
    progress = new QProgressDialog(QString::fromStdString(label), QStringLiteral("Cancel"), 0,
                                   kProgressSteps, window);
    progress->setWindowTitle(QString::fromLatin1(choice.title));
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
}
