#include "app/ui/ContactReportExporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>

#include "app/ExportChoices.h"
#include "app/ui/PlaybackPause.h"
#include "document/CVantrelDoc.h"
#include "shell/CommandTable.h"

namespace {

constexpr const char* kTitle = "Export Contact Report";
constexpr int kStopWaitMs = 10000;

}  // namespace

ContactReportExporter::ContactReportExporter(CVantrelDoc& document, QWidget* parent,
                                             QString reportProgram)
    : QObject(parent), doc(document), window(parent), program(std::move(reportProgram)) {
    ask = [this] { return AskRequest(); };
}

// A report still being made is stopped; the program removes what it had begun.
ContactReportExporter::~ContactReportExporter() {
    if (!process) return;
    process->disconnect(this);
    process->terminate();
    if (!process->waitForFinished(kStopWaitMs)) process->kill();
}

QString ContactReportExporter::ReportProgram() {
    const QDir dir(QCoreApplication::applicationDirPath());
    const QString beside = dir.filePath(QStringLiteral("sonvara-cli-report"));
    if (QFileInfo(beside).isExecutable()) return beside;
    return QDir::cleanPath(dir.filePath(QStringLiteral("../tools/cli/sonvara-cli-report")));
}

std::optional<ContactReportExporter::Request> ContactReportExporter::AskRequest() {
    const PlaybackPause pause(doc);
    const QString start = QString::fromStdString(doc.recording.writeFileDir);
    Request request;
    request.inputs = QFileDialog::getOpenFileNames(
        window, QStringLiteral("Contact Report of Recordings"), start,
        QStringLiteral("Recordings (*.svx *.xtf);;Sonar Files (*.svx);;XTF Files (*.xtf)"));
    if (request.inputs.isEmpty()) return std::nullopt;
    const QFileInfo first(request.inputs.front());
    request.folder = QFileDialog::getSaveFileName(
        window, QString::fromLatin1(kTitle),
        first.dir().filePath(first.completeBaseName() + QStringLiteral("-report")));
    if (request.folder.isEmpty()) return std::nullopt;
    return request;
}

void ContactReportExporter::Export() {
    if (Busy()) return;
    if (const std::optional<Request> request = ask()) Start(*request);
}

void ContactReportExporter::Start(const Request& request) {
    if (Busy()) return;
    cancelled = false;
    QStringList args = request.inputs;
    args << QStringLiteral("--html") << request.folder << QStringLiteral("--pdf")
         << request.folder + QStringLiteral(".pdf") << QStringLiteral("--progress");
    pending.clear();
    said.clear();
    process = new QProcess(this);
    connect(process, &QProcess::readyReadStandardOutput, this, &ContactReportExporter::ReadOutput);
    connect(process, &QProcess::finished, this, &ContactReportExporter::Done);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) Done();
    });
    const QString label = QStringLiteral("Writing the contact report of %1 recording(s) to %2")
                              .arg(request.inputs.size())
                              .arg(QFileInfo(request.folder).fileName());
    // Busy until the program's first step tells how many there are.
    progress = new QProgressDialog(label, QStringLiteral("Cancel"), 0, 0, window);
    progress->setWindowTitle(QString::fromLatin1(kTitle));
    progress->setWindowModality(Qt::NonModal);  // the operator works on meanwhile
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    connect(progress, &QProgressDialog::canceled, this, &ContactReportExporter::Cancel);
    progress->show();
    process->start(program, args);
}

void ContactReportExporter::Cancel() {
    if (!process) return;
    cancelled = true;
    process->terminate();  // SIGTERM: the program removes its temporary outputs
    if (progress) progress->setLabelText(QStringLiteral("Cancelling..."));
}

void ContactReportExporter::ReadOutput() {
    if (!process) return;
    pending += process->readAllStandardOutput();
    for (qsizetype end; (end = pending.indexOf('\n')) >= 0;) {
        const QString line = QString::fromLocal8Bit(pending.left(end)).trimmed();
        pending.remove(0, end + 1);
        const QStringList words = line.split(' ');
        if (words.size() == 3 && words[0] == QStringLiteral("progress")) {
            if (progress && !cancelled) {
                progress->setMaximum(words[2].toInt());
                progress->setValue(words[1].toInt());
            }
        } else if (!line.isEmpty()) {
            said += (said.isEmpty() ? "" : "\n") + line;
        }
    }
}

void ContactReportExporter::Done() {
    if (!process) return;
    ReadOutput();
    const bool started = process->error() != QProcess::FailedToStart;
    const int status =
        started && process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    QString text = said;
    const QString problems = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
    if (!problems.isEmpty()) text += (text.isEmpty() ? "" : "\n") + problems;
    if (!started) text = QStringLiteral("Cannot start %1: %2").arg(program, process->errorString());
    process->deleteLater();
    process = nullptr;
    if (progress) {
        progress->hide();
        progress->deleteLater();
        progress = nullptr;
    }
    if (!cancelled) {
        const PlaybackPause pause(doc);
        doc.GetPlatform().MessageBox(text.toStdString());
    }
    Q_EMIT Finished(status, cancelled, text);
}

void AddContactReportCommand(CommandTable& commands, ContactReportExporter& exporter) {
    commands.Add(
        kCmdExportContactReport, [&exporter] { exporter.Export(); },
        [&exporter] {
            return CommandState{!exporter.Busy(), false, {}};
        });
}
