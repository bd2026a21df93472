#include "ui/acquisition/HeadDialogs.h"

#include <QWidget>

#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "ui/acquisition/CXmitDlg.h"

HeadDialogs::HeadDialogs(CVantrelDoc& document, QWidget* mainFrame, ModalRunner modal)
    : QObject(mainFrame), doc(document), frame(mainFrame), runModal(std::move(modal)) {}

void HeadDialogs::ShowDiagnostics() {
    if (!diagnostics) diagnostics = new CDiagnosticsDlg(doc, frame->actions(), frame);
    diagnostics->show();
    diagnostics->raise();
    diagnostics->activateWindow();
}

void HeadDialogs::RefreshDiagnostics() {
    if (DiagnosticsVisible()) diagnostics->RefreshDiagnostics();
}

void HeadDialogs::DocumentClosed() {
    delete diagnostics;
}

void HeadDialogs::AddCommands(CommandTable& table) {
    table.Add(
        kCmdDiagnostics, [this] { ShowDiagnostics(); },
        [this] {
            return CommandState{!DiagnosticsVisible(), false, {}};
        });
    table.Add(kCmdTransmitEnable, [this] {
        CXmitDlg dialog(doc, frame);
        runModal(dialog);
    });
}
