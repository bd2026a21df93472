#pragma once
// The track plotter: the document's GPS track on a dark sheet with a metric or imperial grid
// and its scale label, the survey's covered seabed, plan lines and read-out, and the vessel
// as a symbol along its heading, kept in view. Dragging with the left
// button pans; a right click opens the GPS context menu; "&Restore image" goes back to zoom
// 1.0 centred on the ship. The track is drawn from an off-screen image, as one path with a
// cosmetic 1-pixel pen transformed by the painter.

#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QPointF>
#include <QWidget>
#include <cstddef>
#include <optional>

#include "models/SurveyPlot.h"

#include "shell/CommandTable.h"

class CVantrelDoc;

class CGPSTrackView : public QWidget {
    Q_OBJECT
public:
    explicit CGPSTrackView(CVantrelDoc& doc, QWidget* parent = nullptr);

    // The view's own commands ("&Restore image"), looked up before the frame's.
    CommandTable& Commands() { return viewCommands; }
    // Where the context menu's commands go (the main window's table).
    void SetFrameCommands(const CommandTable* table) { frameCommands = table; }

    // "&Erase GPS Tracks": origin at the client centre, no pan, no drag; redraw.
    void ResetOrigin();
    // "&Restore image": zoom 1.0, centred on the current position; redraw.
    void Restore();
    // "Fit the Plan": every line of the plan in view, at whatever zoom that takes (kept so as
    // the plan or the frame changes), until the zoom is stepped or the view restored.
    void FitPlan();
    bool Fitted() const { return fitted; }
    // Paints the sheet into the off-screen image (what a paint event copies to the window).
    const QImage& Render();

    QPointF Origin() const { return origin; }
    QPoint Pan() const { return pan; }
    // The screen position of the current position at the last paint.
    QPointF CurrentPixel() const { return currentMetres * zoomUsed + origin - QPointF(pan); }
    // The context menu: port settings, speed correction, erase and the two zoom steps, each
    // enabled as the main window's command is; choosing one runs it there.
    void FillContextMenu(class QMenu& menu) const;
    // The label of the grid's scale: "%dm/DIV" or "%dft/DIV".
    static QString ScaleLabel(double zoom, bool imperial);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Copies the track's new segments into the cached path (rebuilt when the track was
    // erased) and the current position, under the GPS lock.
    void FollowTrack();
    void FollowSize();
    void PaintGrid(class QPainter& painter) const;
    void PaintScaleLabel(class QPainter& painter) const;
    void PaintSurvey(class QPainter& painter);
    // The plotter's frame of the survey at the present zoom and pan.
    PlotFrame SurveyFrame() const;
    // While fitted: the zoom and origin that show the whole plan; false when it cannot.
    bool ApplyFit();
    void RecentreIfNearEdge();
    QPointF ClientCentre() const { return QPointF(width() / 2.0, height() / 2.0); }

    CVantrelDoc& doc;
    CommandTable viewCommands;
    const CommandTable* frameCommands = nullptr;
    QImage sheet;
    QPainterPath path;
    std::size_t pathSegments = 0;
    double firstX0 = 0.0, firstY0 = 0.0, lastX1 = 0.0, lastY1 = 0.0;
    QPointF origin;
    QPoint pan;
    QPoint savedPan;
    QPoint pressPoint;
    bool dragging = false;
    QPointF currentMetres;
    double zoomUsed = 1.0;
    // While fitted: the document's zoom step the fit was asked at.
    bool fitted = false;
    double fitStep = 0.0;
};
