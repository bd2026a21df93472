#pragma once
// File > Export > Contact Report...: the contact report of several recordings (data files and
// XTF files, each with its event file), a folder of HTML and pictures and a PDF beside it. The
// report is made by the program the command line runs for `sonvara-cli report`
// (sonvara-cli-report), as a process of its own, so that the application does not play the
// recordings itself; a progress window cancels it like the other exports: the program, stopped,
// removes its temporary outputs and leaves nothing behind.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CVantrelDoc;
class CommandTable;
class QProcess;
class QProgressDialog;
class QWidget;

class ContactReportExporter : public QObject {
    Q_OBJECT
public:
    struct Request {
        QStringList inputs;
        QString folder;  // the report folder; the PDF is FOLDER.pdf beside it
    };
    // Asks for the recordings and the report folder; nothing when cancelled.
    using Question = std::function<std::optional<Request>()>;

    ContactReportExporter(CVantrelDoc& doc, QWidget* window, QString program = ReportProgram());
    ~ContactReportExporter() override;

    // sonvara-cli-report beside the application, else in the build tree (tools/cli).
    static QString ReportProgram();

    void Export();
    void Start(const Request& request);
    void Cancel();
    bool Busy() const { return process != nullptr; }
    QProgressDialog* ProgressWindow() const { return progress; }
    void SetQuestion(Question question) { ask = std::move(question); }

Q_SIGNALS:
    // The report is over: written (exit status 0), written with problems (1, the report
    // says them), failed or cancelled; `text` is what the operator is told.
    void Finished(int exitStatus, bool cancelled, const QString& text);

private:
    std::optional<Request> AskRequest();
    // The program's "progress DONE TOTAL" lines move the progress window; other lines are
    // what it has to say at the end.
    void ReadOutput();
    void Done();

    CVantrelDoc& doc;
    QWidget* window;
    QString program;
    Question ask;
    QProcess* process = nullptr;
    QProgressDialog* progress = nullptr;
    bool cancelled = false;
    QByteArray pending;  // output not yet a whole line
    QString said;        // the program's lines that are not progress
};

// The command of File > Export > Contact Report..., disabled while a report is made.
void AddContactReportCommand(CommandTable& commands, ContactReportExporter& exporter);
