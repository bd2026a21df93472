#include "sensors/views/SensorWindows.h"

#include <QMdiArea>

#include "acquisition/CVantrelDoc.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/ViewHost.h"
#include "app/WindowLayout.h"
#include "sensors/views/CEchoSounder.h"
#include "sensors/views/CHistView.h"
#include "sensors/views/COrientFilterDlg.h"
#include "sensors/views/COrientationView.h"

SensorWindows::SensorWindows(CVantrelDoc& document, QMdiArea* mdi, ViewHost* viewHost,
                             ModalRunner modal)
    : QObject(mdi), doc(document), area(mdi), host(viewHost), runModal(std::move(modal)) {}

QWidget* SensorWindows::Create(Window window) {
    QWidget* view = nullptr;
    QString title;
    QSize size;
    switch (window) {
        case kEchoSounder:
            view = new CEchoSounder(doc);
            view->setObjectName(QStringLiteral("echoSounderView"));
            title = QStringLiteral("Sonvara_RGB - Echo Sounder");
            size = QSize(260, 420);
            break;
        case kOrientation: {
            auto* orientation = new COrientationView(doc);
            orientation->SetHost(host);
            view = orientation;
            view->setObjectName(QStringLiteral("orientationView"));
            title = QStringLiteral("Sonvara_RGB - Orientation");
            size = QSize(640, 300);
            break;
        }
        default:
            view = new CHistView(doc);
            view->setObjectName(QStringLiteral("historyView"));
            title = QStringLiteral("Sonvara_RGB - Orientation History");
            size = QSize(520, 540);
            break;
    }
    view->setParent(area->window(), Qt::Tool);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->setWindowTitle(title);
    view->resize(size);
    QWidget* sub = view;
    if (host) {
        // A closed window is forgotten by the main window once the event loop is back.
        connect(sub, &QObject::destroyed, this, [this] {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (host) host->ViewClosed();
                },
                Qt::QueuedConnection);
        });
    }
    subs[window] = sub;
    return sub;
}

void SensorWindows::PlaceEchoSounder(bool afterLayout) {
    QWidget* sub = subs[kEchoSounder];
    const QSize areaSize = area->viewport()->size();
    const AreaRect r = MapToArea(doc.display.layout.rects[kESFrame], doc.display.layout.metrics,
                                 areaSize.width(), areaSize.height());
    const QPoint topLeft = area->viewport()->mapToGlobal(QPoint(r.x, r.y));
    sub->setGeometry(topLeft.x(), topLeft.y(), std::max(r.width, 120), std::max(r.height, 120));
    if (afterLayout) sub->setWindowTitle(QStringLiteral("Sonvara_RGB -- Echo Sounder"));
    sub->show();
}

bool SensorWindows::TakeEchoSounderRect(WindowRect& rect) const {
    QWidget* sub = subs[kEchoSounder];
    if (!sub) return false;
    const QRect g = sub->geometry();
    const QPoint topLeft = area->viewport()->mapFromGlobal(g.topLeft());
    const QSize size = area->viewport()->size();
    rect = MapFromArea({topLeft.x(), topLeft.y(), g.width(), g.height()},
                       doc.display.layout.metrics, size.width(), size.height());
    return true;
}

void SensorWindows::ApplyLayout(bool createMissing) {
    const bool wanted = doc.heads[kHeadES].available != 0;
    if (createMissing && wanted && doc.display.layout.show[kESFrame] && !subs[kEchoSounder]) {
        Create(kEchoSounder);
    }
    if (subs[kEchoSounder]) PlaceEchoSounder(true);
}

void SensorWindows::Toggle(Window window) {
    QWidget* sub = subs[window];
    if (sub && sub->isVisible()) {
        sub->hide();
        return;
    }
    if (!sub) {
        sub = Create(window);
        if (window == kEchoSounder) PlaceEchoSounder(false);
    }
    sub->show();
    sub->raise();
    sub->activateWindow();
}

void SensorWindows::UpdateViews() {
    for (Window w : {kEchoSounder, kHistory}) {
        if (subs[w]) subs[w]->update();
    }
}

void SensorWindows::AddCommands(CommandTable& table) {
    table.Add(
        kCmdWindowES, [this] { Toggle(kEchoSounder); },
        [this] {
            return CommandState{doc.heads[kHeadES].available != 0, Visible(kEchoSounder), {}};
        });
    table.Add(
        kCmdWindowOrientation, [this] { Toggle(kOrientation); },
        [this] {
            return CommandState{true, Visible(kOrientation), {}};
        });
    table.Add(
        kCmdWindowHistory, [this] { Toggle(kHistory); },
        [this] {
            return CommandState{true, Visible(kHistory), {}};
        });
    table.Add(kCmdOrientationFilters, [this] {
        COrientFilterDlg dialog(doc, area->window());
        runModal(dialog);
    });
}
