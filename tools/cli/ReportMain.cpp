// sonvara-cli-report: the `report` command of sonvara-cli in a program of its own, the one that
// links Qt's painting (pictures, PDF). sonvara-cli execs it with the command's arguments. It
// draws offscreen unless told otherwise: the report needs no display. Qt's own notes (a missing
// runtime folder, fonts) are not the user's business: the command says what went wrong itself.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "Commands.h"

namespace {

void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) cli::Complain(text.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    }
    qInstallMessageHandler(KeepQtQuiet);
    return cli::RunReport(argc, argv);
}
