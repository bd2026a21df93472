#pragma once
// The GPS windows of the main window: the track plotter, a child window of the window area
// kept by the layout as "GPS Track Window" (object name of its sub-window), and the modeless
// configuration dialog, created hidden with the main window. It adds the GPS commands to the
// main window's table and routes "&Restore image" to the plotter while it is active.

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>

#include "shell/WindowLayout.h"

class CGPSConfigDlg;
class CGPSTrackView;
class CVantrelDoc;
class CommandRouter;
class CommandTable;
class QMdiArea;
class ViewHost;

class GpsWindows : public QObject {
    Q_OBJECT
public:
    GpsWindows(CVantrelDoc& doc, QMdiArea* area, ViewHost* host, CommandRouter& router,
               const CommandTable& frameCommands);
    // Closes the plotter's window first: the main window deletes this before its own members
    // (the router, the commands) go away.
    ~GpsWindows() override;

    // "Show &GPS Track Plotter" (checked while shown), "GPS Comm Port &Settings..." (real
    // time only), "&Erase GPS Tracks", "Zoom &In", "Zoom &Out".
    void AddCommands(CommandTable& table);
    // With createMissing the plotter is created when its show flag or "GPS Tracking" is set;
    // an existing one is moved to its rectangle and titled.
    void ApplyLayout(bool createMissing);
    bool TakeRect(WindowRect& rect) const;
    // After a read or any change of the document: the plotter and the visible dialog follow.
    void UpdateViews();
    // After a read: the visible dialog follows (its received list, counters and fix age).
    void RefreshDialog();
    // Shows the plotter (creating it at its rectangle) or, when shown, closes it.
    void ToggleTrackView();
    // The main window closes: the dialog goes away.
    void CloseDialog();

    CGPSTrackView* TrackView() const;
    QMdiSubWindow* TrackWindow() const { return sub; }
    CGPSConfigDlg* ConfigDialog() const;

private:
    void Create();
    void Place(bool afterLayout);

    CVantrelDoc& doc;
    QMdiArea* area;
    ViewHost* host;
    CommandRouter& router;
    const CommandTable& frameCommands;
    QPointer<QMdiSubWindow> sub;
    QPointer<CGPSConfigDlg> dialog;
    bool routed = false;  // the router holds the plotter's commands
};
