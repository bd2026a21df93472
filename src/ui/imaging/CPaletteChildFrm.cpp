#include "ui/imaging/CPaletteChildFrm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "document/CVantrelDoc.h"
#include "shell/CommandTable.h"
#include "ui/imaging/CPaletteView.h"

namespace {

QRect ToQRect(const std::array<std::int32_t, 4>& r) {
    return QRect(QPoint(r[0], r[1]), QPoint(r[2] - 1, r[3] - 1));
}

// A stored place is used when it lies, at least partly, on a screen; otherwise the window
// would open where nobody can see or reach it.
bool OnSomeScreen(const QRect& r) {
    if (!r.isValid()) return false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(r)) return true;
    }
    return false;
}

}  // namespace

CPaletteChildFrm::CPaletteChildFrm(CVantrelDoc& document, QWidget* parent)
    : QWidget(parent, Qt::Tool), doc(document) {
    setWindowTitle(QStringLiteral("Palette"));
    view = new CPaletteView(doc, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    setMinimumSize(view->sizeHint());
    PlaceAtStoredRect();
    connect(view, &CPaletteView::CloseRequested, this, &CPaletteChildFrm::ToggleWindow);
    connect(view, &CPaletteView::WindowDragged, this,
            [this](QPoint delta) { move(pos() + delta); });
    SyncVisibility();
}

void CPaletteChildFrm::SetHost(ViewHost* host) {
    view->SetHost(host);
}

void CPaletteChildFrm::PlaceAtStoredRect() {
    const QRect stored = ToQRect(doc.palette.paletteFrameRect);
    const QRect fallback = ToQRect(kDefaultPaletteFrameRect);
    const QRect place = OnSomeScreen(stored) ? stored : fallback;
    // Placing the window reports a move; the rectangle it stores is the one just read.
    setGeometry(place.x(), place.y(), std::max(place.width(), minimumWidth()),
                std::max(place.height(), minimumHeight()));
}

std::array<std::int32_t, 4> CPaletteChildFrm::FrameRect() const {
    const QRect g = geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void CPaletteChildFrm::StoreRect() {
    if (!closed) doc.SetPaletteFrameRect(FrameRect());
}

void CPaletteChildFrm::SyncVisibility() {
    const bool visible = doc.palette.paletteWindowVisible != 0 && !closed;
    if (visible) {
        view->Refresh();
        show();
        raise();
    } else {
        hide();
    }
}

void CPaletteChildFrm::ToggleWindow() {
    if (closed) return;
    doc.TogglePaletteWindow();
    SyncVisibility();
}

void CPaletteChildFrm::ShowCustomPaletteEditor() {
    if (closed) return;
    doc.ShowCustomPaletteEditor();
    SyncVisibility();
}

void CPaletteChildFrm::PaletteChanged() {
    if (closed) return;
    SyncVisibility();
    view->Refresh();
}

void CPaletteChildFrm::AddCommands(CommandTable& table, int customPaletteId) {
    if (customPaletteId != 0) {
        table.Add(
            customPaletteId, [this] { ShowCustomPaletteEditor(); },
            [this] {
                return CommandState{true, doc.palette.useCustomPalette != 0, {}};
            });
    }
    table.Add(kCommandLoadPalette, [this] {
        doc.LoadPaletteDialog();
        view->Refresh();
    });
    table.Add(kCommandSavePalette, [this] { doc.SavePaletteDialog(); });
    table.Add(
        kCommandTogglePaletteEditor, [this] { ToggleWindow(); },
        [this] {
            return CommandState{
                doc.CanTogglePaletteWindow(), doc.palette.paletteWindowVisible != 0, {}};
        });
}

void CPaletteChildFrm::Close(bool applicationClosing, ProfileFile& settings) {
    if (closed) return;
    const std::array<std::int32_t, 4> rect = FrameRect();
    const bool onScreen = OnSomeScreen(ToQRect(rect));
    doc.ClosePaletteEditor(applicationClosing, settings, onScreen ? &rect : nullptr);
    closed = true;
    view->Detach();
    hide();
}

void CPaletteChildFrm::closeEvent(QCloseEvent* event) {
    // The title bar's close button hides the editor like "X"; the window lives on.
    if (!closed && doc.palette.paletteWindowVisible) doc.TogglePaletteWindow();
    event->accept();
}

void CPaletteChildFrm::moveEvent(QMoveEvent* event) {
    StoreRect();
    QWidget::moveEvent(event);
}

void CPaletteChildFrm::resizeEvent(QResizeEvent* event) {
    StoreRect();
    QWidget::resizeEvent(event);
}
