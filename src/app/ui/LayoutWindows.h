#pragma once
// The stored windows by frame name ("Main Frame", "L Frame", "M Frame", "H Frame", "ES
// Frame", "GPS Track Window"): each entry says how to make its window, which window exists now
// and whether this configuration shows one. ApplyLayout goes through the table in that order,
// so a new kind of window takes part in the layouts by one entry.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "shell/WindowLayout.h"

class CVantrelDoc;
class QMdiArea;

struct LayoutEntry {
    int window = kMainFrame;  // the frame the entry places (a LayoutWindow)
    // Makes the window (a sub-window of the area, or a tool window of the main window) and
    // returns it; the table places and shows it.
    std::function<QWidget*()> create;
    // The window when it exists, else null.
    std::function<QWidget*()> existing;
    // Whether this configuration shows such a window; an absent test means always.
    std::function<bool()> wanted;
    // The title the layout gives the window.
    std::function<QString()> title;
    // Whether a layout that only moves (no create-missing flag) moves this window too; an
    // absent test means always. Outside a three-frequency system the channel windows stay
    // where the operator put them until a full layout.
    std::function<bool()> movedByEveryLayout;
    // Whether placing the window also shows it; a window the operator hid (the echo sounder,
    // the track plotter) is moved but stays hidden.
    bool shownByLayout = true;
    // The main sonar window has neither minimise nor maximise box.
    bool fixedFrame = false;
};

class LayoutWindows {
public:
    LayoutWindows(CVantrelDoc& doc, QMdiArea* area);

    // Adds or replaces the entry of its frame.
    void Add(LayoutEntry entry);
    bool Has(int window) const;
    QWidget* Existing(int window) const;
    bool Wanted(int window) const;

    // With createMissing, the wanted windows whose show flag is set are made first; then every
    // existing window is moved to its rectangle (brought inside the area), shown and titled.
    void ApplyLayout(bool createMissing);
    // Moves one existing window to its rectangle; a height factor below 1 shortens it.
    void Place(int window, double heightFactor = 1.0);
    // Called at the end of every ApplyLayout (the main frame titles itself there).
    void SetAfterLayout(std::function<void()> callback) { afterLayout = std::move(callback); }
    // The screen rectangle of an existing window; false when there is none.
    bool TakeRect(int window, WindowRect& rect) const;

private:
    QRect AreaGeometry(int window, double heightFactor) const;

    CVantrelDoc& doc;
    QMdiArea* area;
    std::array<LayoutEntry, kLayoutWindowCount> entries{};
    std::function<void()> afterLayout;
};
