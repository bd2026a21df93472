#pragma once
// File > Export: the five exports of a data file (the file being played, or one the operator
// chooses), and the survey mosaic of several recordings (data files and XTF files mixed) into
// one GeoTIFF or KMZ, each run on a thread of its own through the same code the command-line
// tools run, with a progress window that can cancel it. Acquisition, playback and drawing go on
// meanwhile; only the file dialogs and the closing message pause the playback.

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "export/ExportRunner.h"
#include "export/ExportRegistry.h"

class CVantrelDoc;
class CommandTable;
class QDialog;
class QProgressDialog;
class QTimer;
class QWidget;

class DataExporter : public QObject {
    Q_OBJECT
public:
    // Asks for the mosaic's options, starting from `proposed`; nothing when cancelled.
    using MosaicQuestion =
        std::function<std::optional<svx::MosaicOptions>(const svx::MosaicOptions& proposed)>;

    // The export itself, on the runner's thread (svx::RunExport; tests wrap it).
    using Job = std::function<svx::ExportReport(const svx::ExportRequest& request,
                                                const svx::ExportProgress& progress)>;

    DataExporter(CVantrelDoc& doc, QWidget* window, int pollMs = 100);
    ~DataExporter() override;

    // Asks for the input (unless a file is being played) and the output, then starts.
    void Export(svx::ExportKind kind);
    // Asks for the recordings, the options of their mosaic and the output, then starts.
    void ExportSurveyMosaic();
    bool Busy() const { return runner.Running() || progress != nullptr; }
    // Replace the mosaic options dialog of one recording and of several (tests answer them).
    void SetMosaicQuestion(MosaicQuestion question) { askMosaic = std::move(question); }
    void SetSurveyQuestion(MosaicQuestion question) { askSurvey = std::move(question); }
    void SetJob(Job exportJob) { job = std::move(exportJob); }
    // The progress window while an export runs, else null.
    QProgressDialog* ProgressWindow() const { return progress; }
    void Cancel();

Q_SIGNALS:
    // The export is over: written, failed or cancelled (the report says which).
    void Finished(const svx::ExportReport& report);

private:
    std::optional<std::string> ChooseInput();
    std::optional<svx::ExportRequest> AskRequest(svx::ExportKind kind);
    std::optional<svx::ExportRequest> AskSurveyRequest();
    std::optional<svx::MosaicOptions> AskOptions(const svx::MosaicOptions& proposed, bool several);
    std::string InputProblem(const std::string& input) const;
    bool Refused(const std::string& input);
    void Start(const svx::ExportRequest& request, const std::string& title,
               const std::string& what);
    void Poll();
    void Tell(const svx::ExportReport& report);

    CVantrelDoc& doc;
    QWidget* window;
    QTimer* poll;
    QProgressDialog* progress = nullptr;
    MosaicQuestion askMosaic;
    MosaicQuestion askSurvey;
    Job job = svx::RunExport;
    svx::ExportRunner runner;
};

// Adds the six commands of File > Export, disabled while an export runs.
void AddExportCommands(CommandTable& commands, DataExporter& exporter);
