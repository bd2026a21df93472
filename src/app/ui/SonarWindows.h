#pragma once
// The sonar windows inside the main window: which exist, where they are, their titles, the
// window commands of the "&Sonar" menu, and the routing of commands to the active one.

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <array>

#include "app/WindowLayout.h"

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

    // Places and titles the windows; with createMissing, the windows of the configuration
    // whose show flag is set are created first.
    void ApplyLayout(bool createMissing);
    // The screen rectangle of a stored window; false when it does not exist.
    bool TakeRect(int window, WindowRect& rect) const;
    bool Exists(int window) const { return window >= 0 && window < kLayoutWindowCount && subs[window]; }
    // "120 kHz", "260 kHz", "540 kHz": bring the window to the top, or create it.
    void ShowWindow(int window);
    void UpdateViews();
    // The side-scan windows this configuration shows (L, M, H frames).
    std::array<bool, kLayoutWindowCount> Wanted() const;
    // Adds the window commands (32910, 32912, 32914, 41050, 41044) to the frame's table.
    void AddCommands(CommandTable& table);

private:
    QMdiSubWindow* Create(int window);
    void Place(int window);
    QString Title(int window) const;
    int SlotOf(int window) const;

    CVantrelDoc& doc;
    QMdiArea* area;
    ViewHost* host;
    CommandRouter& router;
    std::array<QPointer<QMdiSubWindow>, kLayoutWindowCount> subs;
};
