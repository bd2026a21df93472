#include "app/ui/LayoutWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "document/CVantrelDoc.h"

LayoutWindows::LayoutWindows(CVantrelDoc& document, QMdiArea* mdi) : doc(document), area(mdi) {}

void LayoutWindows::Add(LayoutEntry entry) {
    if (entry.window <= kMenuFrame || entry.window >= kLayoutWindowCount) return;
    entries[entry.window] = std::move(entry);
}

bool LayoutWindows::Has(int window) const {
    return window > kMenuFrame && window < kLayoutWindowCount && entries[window].existing;
}

QWidget* LayoutWindows::Existing(int window) const {
    return Has(window) ? entries[window].existing() : nullptr;
}

bool LayoutWindows::Wanted(int window) const {
    if (!Has(window) || !entries[window].create) return false;
    return !entries[window].wanted || entries[window].wanted();
}

QRect LayoutWindows::AreaGeometry(int window, double heightFactor) const {
    const QSize size = area->viewport()->size();
    AreaRect r = MapToArea(doc.display.layout.rects[window], doc.display.layout.metrics,
                           size.width(), size.height());
    r.height = static_cast<int>(r.height * heightFactor);
    r = FitIntoArea(r, size.width(), size.height(), WindowMinimumSize(window));
    return {r.x, r.y, r.width, r.height};
}

void LayoutWindows::Place(int window, double heightFactor) {
    QWidget* w = Existing(window);
    if (!w) return;
    QRect g = AreaGeometry(window, heightFactor);
    // A tool window of the main window is placed in screen coordinates over the area.
    if (w->isWindow()) g.moveTopLeft(area->viewport()->mapToGlobal(g.topLeft()));
    w->setGeometry(g);
    if (entries[window].shownByLayout) w->show();
}

void LayoutWindows::ApplyLayout(bool createMissing) {
    for (int window = kMainFrame; window < kLayoutWindowCount; ++window) {
        const LayoutEntry& entry = entries[window];
        if (!Has(window)) continue;
        if (createMissing && !entry.existing() && doc.display.layout.show[window] &&
            Wanted(window)) {
            entry.create();
        }
        QWidget* w = entry.existing();
        if (!w) continue;
        // A full layout for a configuration without the window's head (a played file of
        // another system) hides it rather than leave it showing nothing.
        if (createMissing && entry.wanted && !entry.wanted()) {
            w->hide();
            continue;
        }
        if (!createMissing && entry.movedByEveryLayout && !entry.movedByEveryLayout()) continue;
        const Qt::WindowFlags fixed =
            w->windowFlags() & ~(Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint);
        if (entry.fixedFrame && fixed != w->windowFlags()) w->setWindowFlags(fixed);
        Place(window);
        if (entry.title) w->setWindowTitle(entry.title());
    }
    if (afterLayout) afterLayout();
}

bool LayoutWindows::TakeRect(int window, WindowRect& rect) const {
    QWidget* w = Existing(window);
    if (!w) return false;
    QRect g = w->geometry();
    if (w->isWindow()) g.moveTopLeft(area->viewport()->mapFromGlobal(g.topLeft()));
    const QSize size = area->viewport()->size();
    rect = MapFromArea({g.x(), g.y(), g.width(), g.height()}, doc.display.layout.metrics,
                       size.width(), size.height());
    return true;
}
