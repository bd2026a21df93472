#include "ui/sensors/SensorWindows.h"

#include <QMdiArea>

#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "shell/CommandTable.h"
#include "shell/ViewHost.h"
#include "shell/WindowLayout.h"
#include "ui/sensors/CEchoSounder.h"
#include "ui/sensors/CHistView.h"
#include "ui/sensors/COrientFilterDlg.h"
#include "ui/sensors/COrientationView.h"

SensorWindows::SensorWindows(CVantrelDoc& document, QMdiArea* mdi, ViewHost* viewHost,
                             ModalRunner modal)
    : QObject(mdi), doc(document), area(mdi), host(viewHost), runModal(std::move(modal)) {}

QMdiSubWindow* SensorWindows::Create(Window window) {
    QWidget* view = nullptr;
    QString title;
    QSize size;
    const char* name = "Orientation";
    switch (window) {
        case kEchoSounder:
            view = new CEchoSounder(doc);
            view->setObjectName(QStringLiteral("echoSounderView"));
            title = QStringLiteral("Sonvara_RGB - Echo Sounder");
            size = QSize(260, 420);
            name = LayoutWindowName(kESFrame);
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
            name = "Orientation History";
            break;
    }
    QMdiSubWindow* sub = area->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setObjectName(QString::fromLatin1(name));
    sub->setWindowTitle(title);
    sub->resize(size);
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
    QMdiSubWindow* sub = subs[kEchoSounder];
    const QSize areaSize = area->viewport()->size();
    const AreaRect r = MapToArea(doc.display.layout.rects[kESFrame], doc.display.layout.metrics,
                                 areaSize.width(), areaSize.height());
    sub->setGeometry(r.x, r.y, std::max(r.width, 120), std::max(r.height, 120));
    if (afterLayout) sub->setWindowTitle(QStringLiteral("Sonvara_RGB -- Echo Sounder"));
}

QMdiSubWindow* SensorWindows::CreateEchoSounder() {
    if (subs[kEchoSounder]) return subs[kEchoSounder];
    Create(kEchoSounder);
    PlaceEchoSounder(true);
    // Showing a child window activates it; the active sonar window keeps the menus' zoom and
    // measuring commands.
    QMdiSubWindow* active = area->activeSubWindow();
    subs[kEchoSounder]->show();
    if (active && active != subs[kEchoSounder]) area->setActiveSubWindow(active);
    return subs[kEchoSounder];
}

void SensorWindows::Toggle(Window window) {
    QMdiSubWindow* sub = subs[window];
    if (Visible(window)) {
        sub->hide();
        return;
    }
    if (!sub) {
        sub = Create(window);
        if (window == kEchoSounder) PlaceEchoSounder(false);
    }
    sub->show();
    area->setActiveSubWindow(sub);
    sub->raise();
}

void SensorWindows::UpdateViews() {
    for (Window w : {kEchoSounder, kHistory}) {
        if (subs[w] && subs[w]->widget()) subs[w]->widget()->update();
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
