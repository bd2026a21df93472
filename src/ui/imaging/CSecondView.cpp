#include "ui/imaging/CSecondView.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <utility>

#include "document/CVantrelDoc.h"
#include "shell/CommandIds.h"
#include "shell/ViewHost.h"
#include "ui/imaging/CommandMenu.h"
#include "ui/imaging/CrossCursor.h"

namespace {

int CommandOfKey(const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
    switch (event.key()) {
        case Qt::Key_Left:
            return kCmdNudgeLeft;
        case Qt::Key_Right:
            return kCmdNudgeRight;
        case Qt::Key_Up:
            return kCmdNudgeUp;
        case Qt::Key_Down:
            return kCmdNudgeDown;
        case Qt::Key_R:
            return kCmdRestoreImage;
        case Qt::Key_Z:
            return kCmdZoomCycle;
        default:
            return 0;
    }
}

}  // namespace

CSecondView::CSecondView(CVantrelDoc& doc, int slot, bool publishesScroll, QWidget* parent)
    : QWidget(parent), state(doc, slot, publishesScroll) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(CrossCursor());
    AddCommands();
}

CSecondView::~CSecondView() {
    state.PointerLeft();
    ViewHost* host = state.Host();
    if (!host) return;
    if (!hostIsObject) {
        host->ViewClosed();
    } else if (hostObject) {
        // Posted: delivered after the view is gone, dropped if the host goes first.
        QMetaObject::invokeMethod(
            hostObject.data(), [host] { host->ViewClosed(); }, Qt::QueuedConnection);
    }
}

void CSecondView::SetHost(ViewHost* host) {
    state.SetHost(host);
    hostObject = dynamic_cast<QObject*>(host);
    hostIsObject = hostObject != nullptr;
}

void CSecondView::AddCommands() {
    AddZoomCommands();
    commands.Add(
        kCmdGrid,
        [this] {
            state.ToggleGrid();
            update();
        },
        [this] {
            return CommandState{true, state.gridOn != 0, {}};
        });
    commands.Add(kCmdRestoreImage, [this] {
        state.RestoreImage();
        update();
    });
    commands.Add(kCmdNudgeLeft, [this] { Nudge(-1, 0); });
    commands.Add(kCmdNudgeRight, [this] { Nudge(1, 0); });
    commands.Add(kCmdNudgeUp, [this] { Nudge(0, -1); });
    commands.Add(kCmdNudgeDown, [this] { Nudge(0, 1); });
    AddMeasureCommands();
}

void CSecondView::AddMeasureCommands() {
    // A view without an image slot has nothing to measure on.
    const bool available = state.Slot() != kNoSlot;
    const std::pair<int, MeasureTool> tools[] = {{kCmdMeasureDistance, MeasureTool::Distance},
                                                 {kCmdMeasureRange, MeasureTool::Range},
                                                 {kCmdDrawPlusMark, MeasureTool::Plus},
                                                 {kCmdMeasureHeight, MeasureTool::Height}};
    for (const auto& [id, tool] : tools) {
        commands.Add(
            id,
            [this, t = tool] {
                state.ToggleMeasureTool(t);
                update();
            },
            [this, available, t = tool] {
                return CommandState{available, ToolArmed(state.measure, t), {}};
            });
    }
    commands.Add(
        kCmdClearMarks,
        [this] {
            state.measure.ClearMarks();
            update();
        },
        [available] {
            return CommandState{available, false, {}};
        });
    commands.Add(
        kCmdShowMarkShadow,
        [this] {
            state.measure.showMarkShadow = state.measure.showMarkShadow ? 0 : 1;
            update();
        },
        [this, available] {
            return CommandState{available, state.measure.showMarkShadow != 0, {}};
        });
}

void CSecondView::AddZoomCommands() {
    const int modes[] = {kZoomFillScreen, kZoom100, kZoom200};
    const int ids[] = {kCmdFillScreen, kCmdZoom100, kCmdZoom200};
    for (int i = 0; i < 3; ++i) {
        const int mode = modes[i];
        commands.Add(
            ids[i],
            [this, mode] {
                if (state.SetZoom(mode)) AfterZoomChange();
            },
            [this, mode] {
                return CommandState{true, state.zoomMode == mode, {}};
            });
    }
    commands.Add(kCmdZoomCycle, [this] {
        state.ZoomCycle();
        AfterZoomChange();
        if (ViewHost* host = state.Host()) host->RefreshIndicators();
    });
}

void CSecondView::AfterZoomChange() {
    update();
    ShowZoom();
}

void CSecondView::ShowZoom() {
    if (!IsActiveView()) return;
    if (ViewHost* host = state.Host()) host->ShowZoom(state.ZoomPercent());
}

bool CSecondView::IsActiveView() const {
    const auto* sub = qobject_cast<const QMdiSubWindow*>(parentWidget());
    if (!sub || !sub->mdiArea()) return true;
    return sub->mdiArea()->currentSubWindow() == sub;
}

std::unique_ptr<QMenu> CSecondView::CreateContextMenu() {
    return BuildCommandMenu(ContextMenuItems(), commands, this);
}

void CSecondView::Nudge(int dx, int dy) {
    const QPoint target = QCursor::pos() + QPoint(dx, dy);
    QCursor::setPos(target);
    HandleMouseMove(mapFromGlobal(target));
}

void CSecondView::HandleMouseMove(QPoint position) {
    Apply(state.MouseMove(position.x(), position.y()));
}

void CSecondView::Apply(ViewRepaint repaint) {
    if (repaint == ViewRepaint::None) return;
    update();
    if (repaint == ViewRepaint::AllViews) {
        if (ViewHost* host = state.Host()) host->UpdateAllViews();
    }
}

void CSecondView::resizeEvent(QResizeEvent* event) {
    ResizeImage();
    QWidget::resizeEvent(event);
}

void CSecondView::ResizeImage() {
    state.Size(width(), height());
    // "Fill the Screen" follows the window width, and so does its zoom.
    ShowZoom();
    update();
}

void CSecondView::mouseMoveEvent(QMouseEvent* event) {
    HandleMouseMove(event->position().toPoint());
}

void CSecondView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    state.LeftButtonDown(p.x(), p.y());
    update();
}

void CSecondView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    state.LeftButtonUp();
    update();
}

void CSecondView::mouseDoubleClickEvent(QMouseEvent* event) {
    event->ignore();
}

void CSecondView::leaveEvent(QEvent* event) {
    state.PointerLeft();
    QWidget::leaveEvent(event);
}

void CSecondView::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = CreateContextMenu();
    menu->exec(event->globalPos());
}

void CSecondView::keyPressEvent(QKeyEvent* event) {
    const int id = CommandOfKey(*event);
    if (id != 0 && commands.Execute(id)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CSecondView::focusInEvent(QFocusEvent* event) {
    ShowZoom();
    QWidget::focusInEvent(event);
}

void CSecondView::focusOutEvent(QFocusEvent* event) {
    // A pop-up or another window took the mouse: a drag in progress ends here.
    state.CaptureChanged();
    QWidget::focusOutEvent(event);
}
