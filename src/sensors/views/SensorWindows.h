#pragma once
// The windows of the auxiliary sensors: the echo sounder (a stored layout window, "ES
// Frame"), the orientation window and the orientation history. They are tool windows of the
// main window, like the palette editor, so they stay in view beside the sonar windows; the
// echo sounder's stored rectangle is placed over the main window's area as the sonar windows'
// are. Commands 32916, 32917 and 32921 toggle them (checked while visible); 41051 opens the
// "Orientation Filters" dialog.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "app/WindowLayout.h"

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

    // With createMissing the echo-sounder window is created when its show flag is set and the
    // echo sounder is available; an existing one is moved to its rectangle and titled.
    void ApplyLayout(bool createMissing);
    void AddCommands(CommandTable& table);
    // Hide a visible window, else show (creating it when missing) and raise it.
    void Toggle(Window window);
    bool Exists(Window window) const { return subs[window] != nullptr; }
    bool Visible(Window window) const { return subs[window] && subs[window]->isVisible(); }
    QWidget* Sub(Window window) const { return subs[window]; }
    // The echo-sounder window's rectangle as the layout stores it; false when it does not exist.
    bool TakeEchoSounderRect(WindowRect& rect) const;
    // The views that follow the cycles repaint (the orientation view has its own timer).
    void UpdateViews();

private:
    QWidget* Create(Window window);
    void PlaceEchoSounder(bool afterLayout);

    CVantrelDoc& doc;
    QMdiArea* area;
    ViewHost* host;
    ModalRunner runModal;
    QPointer<QWidget> subs[kWindowCount];
};
