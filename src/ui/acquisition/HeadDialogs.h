#pragma once
// The head communication dialogs of the main window: "&Diagnostics..." (32801) opens the
// modeless diagnostics window, created on first use and enabled only while it is not shown;
// "Transmit Enable..." (41052) runs the transmit dialog modally, playback paused meanwhile.

#include <QObject>
#include <QPointer>
#include <functional>

#include "ui/acquisition/CDiagnosticsDlg.h"

class CVantrelDoc;
class CommandTable;
class QDialog;
class QWidget;

class HeadDialogs : public QObject {
    Q_OBJECT
public:
    using ModalRunner = std::function<int(QDialog&)>;
    // The frame's actions are the accelerators the diagnostics window takes over.
    HeadDialogs(CVantrelDoc& doc, QWidget* frame, ModalRunner runModal);

    void AddCommands(CommandTable& table);
    // Shows the diagnostics window (creating it the first time).
    void ShowDiagnostics();
    // Refreshes the diagnostics window when it exists and is shown.
    void RefreshDiagnostics();
    bool DiagnosticsVisible() const { return diagnostics && diagnostics->isVisible(); }
    CDiagnosticsDlg* Diagnostics() const { return diagnostics; }
    // The document closed: the diagnostics window goes with it.
    void DocumentClosed();

private:
    CVantrelDoc& doc;
    QWidget* frame;
    ModalRunner runModal;
    QPointer<CDiagnosticsDlg> diagnostics;
};
