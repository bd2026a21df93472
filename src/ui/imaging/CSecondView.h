#pragma once
// The base of the waterfall views: a window onto a large image at a scroll offset, with the
// zoom, grid, restore and pointer-nudge commands, panning with the left button, the context
// menu, the cross-hair pointer, and the notices to the main window (pointer read-out, zoom,
// view closed) through a ViewHost. Subclasses paint.

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "app/MenuLayout.h"
#include "models/SonarViewState.h"
#include "shell/CommandTable.h"

class CVantrelDoc;
class QMenu;
class ViewHost;

class CSecondView : public QWidget {
    Q_OBJECT
public:
    ~CSecondView() override;

    // The view's commands; the main window looks here first while this view is active.
    CommandTable& Commands() { return commands; }
    // The main window (or a test's recorder). A host that is a QObject gets the view-closed
    // notice posted, so it never arrives while the host itself is being destroyed; any other
    // host is told at once and must outlive the view.
    void SetHost(ViewHost* host);
    ViewHost* Host() const { return state.Host(); }

    SonarViewState& State() { return state; }
    const SonarViewState& State() const { return state; }
    CVantrelDoc& Document() const { return state.Document(); }

    // The context menu with the current check marks (shown on a right click).
    std::unique_ptr<QMenu> CreateContextMenu();
    // Moves the mouse pointer by (dx, dy) pixels and handles a mouse move there.
    void Nudge(int dx, int dy);
    // Tells the host the zoom of this view when it is the active one (the one whose commands
    // the menus show): the status bar's zoom pane is about that view only.
    void ShowZoom();
    // Sizes the view's image for its window again, as a resize does (the display layout
    // changed: composite mode or the channels shown).
    void ResizeImage();
    // The active sonar window of its window area, or a view outside any such area.
    bool IsActiveView() const;

protected:
    CSecondView(CVantrelDoc& doc, int slot, bool publishesScroll, QWidget* parent);

    virtual std::vector<MenuItem> ContextMenuItems() const { return SideScanContextMenu(); }

    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A double click is not a second press: no drag starts and playback is not touched again.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    SonarViewState state;
    CommandTable commands;

private:
    void AddCommands();
    void AddZoomCommands();
    void AddMeasureCommands();
    void HandleMouseMove(QPoint position);
    void Apply(ViewRepaint repaint);
    void AfterZoomChange();

    QPointer<QObject> hostObject;
    bool hostIsObject = false;
};
