#pragma once
// The sonar windows inside the main window: which exist, where they are, their titles, the
// window commands of the "&Sonar" menu, and the routing of commands to the active one.

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <array>

#include "app/ui/LayoutWindows.h"
#include "shell/WindowLayout.h"

class CSecondView;
class CVantrelDoc;
class CommandRouter;
class CommandTable;
class QMdiArea;
class ViewHost;

class SonarWindows : public QObject {
    Q_OBJECT
public:
    SonarWindows(CVantrelDoc& doc, QMdiArea* area, ViewHost* host, CommandRouter& router);

    // Places and titles every stored window of the table (the side-scan windows and those
    // added to it); with createMissing, the wanted windows whose show flag is set are created
    // first.
    void ApplyLayout(bool createMissing) { table.ApplyLayout(createMissing); }
    // The stored windows by frame name; other windows join the layouts through it.
    LayoutWindows& Table() { return table; }
    // The screen rectangle of a stored window; false when it does not exist.
    bool TakeRect(int window, WindowRect& rect) const;
    bool Exists(int window) const { return table.Existing(window) != nullptr; }
    // "120 kHz", "260 kHz", "540 kHz": bring the window to the top, or create it at its
    // rectangle (a new 260 kHz window at half its height) with its command title; then the
    // existing windows are placed again.
    void ShowWindow(int window);
    void UpdateViews();
    // Every sonar view sizes its image for its window again.
    void ResizeImages();
    // The side-scan windows this configuration shows (L, M, H frames).
    std::array<bool, kLayoutWindowCount> Wanted() const;
    // Adds the window commands (32910, 32912, 32914, 41050, 41044) to the frame's table.
    void AddCommands(CommandTable& commands);

private:
    QMdiSubWindow* Create(int window);
    QString Title(int window) const;
    // The head a new window of this configuration shows.
    int SlotOf(int window) const;
    // The head whose image the window shows: its view's once it exists (a window keeps its
    // view when the configuration changes), else SlotOf; and that head's frequency (its
    // nominal one when the head reports none).
    int ShownHead(int window) const;
    int ShownFrequencyHz(int window) const;

    CVantrelDoc& doc;
    QMdiArea* area;
    ViewHost* host;
    CommandRouter& router;
    std::array<QPointer<QMdiSubWindow>, kLayoutWindowCount> subs;
    LayoutWindows table;
};
