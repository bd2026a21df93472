// The main window's side of the GPS reader's reports: after every read the GPS dialog and
// the GPS panes follow; a lost or returning device is said in the message pane.

#include "app/ui/CMainFrame.h"
#include "document/CVantrelDoc.h"
#include "ui/gps/GpsWindows.h"

void CMainFrame::GpsStatusChanged() {
    gpsWindows->RefreshDialog();
    ScheduleRefresh(false);
}

void CMainFrame::GpsDeviceMessage(const std::string& text) {
    statusInputs.message = text;
    UpdateStatusBars();
}
