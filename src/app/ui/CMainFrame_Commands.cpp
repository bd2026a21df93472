// The main window's commands of the View menu: units, bars, image display, colour tables,
// speed source and GPS time.

#include <QToolBar>

#include "app/AcquisitionControls.h"
#include "app/ui/CMainFrame.h"
#include "app/ui/ControlBars.h"
#include "app/ui/StatusBarWidget.h"
#include "document/CVantrelDoc.h"
#include "models/ColourTableCommands.h"
#include "shell/CommandIds.h"
#include "ui/gps/CShipSpeedDlg.h"

namespace {
CommandState Checked(bool checked) { return CommandState{true, checked, {}}; }
}  // namespace

void CMainFrame::RegisterViewCommands() {
    for (const int units : {0, 1}) {
        commands.Add(units ? kCmdImperial : kCmdMetric,
                     [this, units] {
                         SetUnits(doc, units);
                         bars->UpdateControlBars();
                         UpdateAllViews();
                     },
                     [this, units] { return Checked(doc.units == units); });
    }
    commands.Add(kCmdToolBar,
                 [this] {
                     toolBar->setVisible(doc.ToggleBar(CVantrelDoc::Bar::Tool));
                 },
                 [this] { return Checked(doc.display.toolBarVisible); });
    commands.Add(kCmdStatusBar,
                 [this] {
                     firstStatus->setVisible(doc.ToggleBar(CVantrelDoc::Bar::Status));
                 },
                 [this] { return Checked(doc.display.statusBarVisible); });
    RegisterImageCommands();
    RegisterSpeedCommands();
}

void CMainFrame::RegisterImageCommands() {
    commands.Add(kCmdClearScreen, [this] { doc.ClearScreen(); });
    commands.Add(kCmdHold, [this] { doc.ToggleHold(); },
                 [this] { return Checked(doc.images.held); });
    const std::pair<int, int> sides[] = {{kCmdPortOnly, 1}, {kCmdStbdOnly, 2}, {kCmdBothSides, 3}};
    for (const auto& [id, mode] : sides) {
        commands.Add(id, [this, mode = mode] { doc.SetSideMode(mode); },
                     [this, mode = mode] { return Checked(doc.images.sideMode == mode); });
    }
    commands.Add(kCmdVerticalBlending, [this] { doc.ToggleVerticalBlending(); },
                 [this] { return Checked(doc.images.verticalBlending); });
    commands.Add(kCmdColorIndicator, [this] { doc.ToggleColorIndicator(); },
                 [this] { return Checked(doc.images.colorIndicator); });
    AddColourTableCommands(commands, doc);
}

void CMainFrame::RegisterSpeedCommands() {
    commands.Add(kCmdSpeedCorrection, [this] {
        CShipSpeedDlg dialog(doc.speed, this);
        if (RunModal(dialog) == QDialog::Accepted) doc.ApplySpeedDialog(dialog.Model());
    });
    commands.Add(kCmdGpsEnabled, [this] { doc.ToggleGpsEnabled(); },
                 [this] { return Checked(doc.gpsInput.gpsEnabled); });
    commands.Add(kCmdConvertUtcToLocal, [this] { doc.ToggleConvertUtcToLocal(); },
                 [this] { return Checked(doc.speed.convertUtcToLocal); });
    commands.Add(kCmdSyncWithGpsTime, [this] { doc.SynchronizeWithGpsTime(); },
                 [this] { return CommandState{doc.playbackMode == 0, false, {}}; });
}
