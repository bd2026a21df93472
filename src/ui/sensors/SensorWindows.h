#pragma once
// The windows of the auxiliary sensors: the echo sounder (a stored layout window, "ES
// Frame"), the orientation window and the orientation history. They are child windows of the
// main window's area, like the sonar windows; the echo sounder goes to its stored rectangle as
// the sonar windows do. Commands 32916, 32917 and 32921 toggle them (checked while visible);
// 41051 opens the "Orientation Filters" dialog.

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <functional>

#include "shell/WindowLayout.h"

class CVantrelDoc;
class CommandTable;
class QDialog;
class QMdiArea;
class ViewHost;

class SensorWindows : public QObject {
    Q_OBJECT
public:
    enum Window { kEchoSounder = 0, kOrientation, kHistory, kWindowCount };
    using ModalRunner = std::function<int(QDialog&)>;

    SensorWindows(CVantrelDoc& doc, QMdiArea* area, ViewHost* host, ModalRunner runModal);

    // Creates the echo-sounder window for a layout, at its stored rectangle, and shows it
    // without taking the active window away from the sonar window; an existing one is kept.
    QMdiSubWindow* CreateEchoSounder();
    void AddCommands(CommandTable& table);
    // Hide a visible window, else show (creating it when missing) and raise it.
    void Toggle(Window window);
    bool Exists(Window window) const { return subs[window] != nullptr; }
    // Shown, or to be shown with the main window (not hidden by its command).
    bool Visible(Window window) const { return subs[window] && !subs[window]->isHidden(); }
    QMdiSubWindow* Sub(Window window) const { return subs[window]; }
    // The views that follow the cycles repaint (the orientation view has its own timer).
    void UpdateViews();

private:
    QMdiSubWindow* Create(Window window);
    void PlaceEchoSounder(bool afterLayout);

    CVantrelDoc& doc;
    QMdiArea* area;
    ViewHost* host;
    ModalRunner runModal;
    QPointer<QMdiSubWindow> subs[kWindowCount];
};
