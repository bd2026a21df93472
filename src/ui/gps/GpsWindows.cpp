#include "ui/gps/GpsWindows.h"

#include <QMdiArea>
#include <algorithm>

#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "shell/ViewHost.h"
#include "ui/gps/CGPSConfigDlg.h"
#include "ui/gps/CGPSTrackView.h"

GpsWindows::GpsWindows(CVantrelDoc& document, QMdiArea* mdi, ViewHost* viewHost,
                       CommandRouter& commandRouter, const CommandTable& frame)
    : QObject(mdi),
      doc(document),
      area(mdi),
      host(viewHost),
      router(commandRouter),
      frameCommands(frame) {
    dialog = new CGPSConfigDlg(doc, area->window());
    dialog->hide();
    // Connected after the sonar windows' own handler, so the plotter's commands win while it
    // is the active window.
    connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* activated) {
        routed = activated && activated == sub;
        if (routed) router.SetActiveView(&TrackView()->Commands());
    });
}

GpsWindows::~GpsWindows() {
    if (sub) {
        sub->disconnect(this);
        delete sub;
    }
    delete dialog;
}

CGPSConfigDlg* GpsWindows::ConfigDialog() const { return dialog; }

CGPSTrackView* GpsWindows::TrackView() const {
    return sub ? qobject_cast<CGPSTrackView*>(sub->widget()) : nullptr;
}

void GpsWindows::Create() {
    auto* view = new CGPSTrackView(doc);
    view->setObjectName(QStringLiteral("gpsTrackView"));
    view->SetFrameCommands(&frameCommands);
    sub = area->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QString::fromLatin1(LayoutWindowName(kGpsTrackWindow)));
    sub->setWindowTitle(QStringLiteral("Sonvara_RGB - Track Plotter"));
    connect(sub, &QObject::destroyed, this, [this] {
        // The router must not keep the table of a view that is gone.
        if (routed) router.SetActiveView(nullptr);
        routed = false;
        // The main window re-applies titles and positions once the event loop is back.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (host) host->ViewClosed();
            },
            Qt::QueuedConnection);
    });
}

void GpsWindows::Place(bool afterLayout) {
    const QSize size = area->viewport()->size();
    const AreaRect r = MapToArea(doc.display.layout.rects[kGpsTrackWindow],
                                 doc.display.layout.metrics, size.width(), size.height());
    sub->setGeometry(r.x, r.y, std::max(r.width, 160), std::max(r.height, 120));
    if (afterLayout) sub->setWindowTitle(QStringLiteral("Sonvara_RGB -- Track Plotter"));
    sub->show();
}

void GpsWindows::ApplyLayout(bool createMissing) {
    const bool wanted = doc.display.layout.show[kGpsTrackWindow] || doc.gpsConfig.gpsTracking;
    if (createMissing && wanted && !sub) Create();
    if (sub) Place(true);
}

bool GpsWindows::TakeRect(WindowRect& rect) const {
    if (!sub) return false;
    const QRect g = sub->geometry();
    const QSize size = area->viewport()->size();
    rect = MapFromArea({g.x(), g.y(), g.width(), g.height()}, doc.display.layout.metrics,
                       size.width(), size.height());
    return true;
}

void GpsWindows::ToggleTrackView() {
    if (sub && sub->isVisible()) {
        sub->close();
        return;
    }
    if (!sub) {
        Create();
        Place(false);
    }
    doc.SetGpsTrackShown(true);
    sub->show();
    area->setActiveSubWindow(sub);
    sub->raise();
}

void GpsWindows::UpdateViews() {
    if (CGPSTrackView* view = TrackView()) view->update();
    if (dialog && dialog->isVisible()) dialog->Refresh();
}

void GpsWindows::RefreshDialog() {
    if (dialog && dialog->isVisible()) dialog->Refresh();
}

void GpsWindows::CloseDialog() {
    if (dialog) dialog->hide();
    delete dialog;
}

void GpsWindows::AddCommands(CommandTable& table) {
    table.Add(
        kCmdShowGpsTrack, [this] { ToggleTrackView(); },
        [this] {
            return CommandState{true, sub && sub->isVisible(), {}};
        });
    table.Add(
        kCmdGpsPortSettings,
        [this] {
            if (dialog) dialog->Open();
        },
        [this] {
            return CommandState{doc.playbackMode == 0, false, {}};
        });
    table.Add(kCmdEraseGpsTracks, [this] {
        doc.EraseGpsTracks();
        if (CGPSTrackView* view = TrackView()) view->ResetOrigin();
    });
    table.Add(kCmdTrackZoomIn, [this] { doc.ZoomTrackIn(); });
    table.Add(kCmdTrackZoomOut, [this] { doc.ZoomTrackOut(); });
}
