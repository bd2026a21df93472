#pragma once
// The orientation window: pitch and roll discs, a heading dial with a compass rose, and the
// depth and temperature gauges, each with its read-out. Repainted every 500 ms by its own
// timer; dragging with the left button moves the window; 'H' toggles the display hold.

#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QTimer>
#include <QWidget>

class CVantrelDoc;
class ViewHost;

class COrientationView : public QWidget {
    Q_OBJECT
public:
    explicit COrientationView(CVantrelDoc& doc, QWidget* parent = nullptr);
    void SetHost(ViewHost* viewHost) { host = viewHost; }
    // The window that dragging moves (the view itself when it has no frame).
    QWidget* Frame() const;
    // The window's repaint timer (its timer 2020): 500 ms, running from the first show.
    const QTimer& RepaintTimer() const { return repaintTimer; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PaintInstruments(class QPainter& painter);
    void PaintGauge(QPainter& painter, QPointF base, double length, bool depth);
    void PaintPitchDisc(QPainter& painter, QPointF centre, double radius);
    void PaintRollDisc(QPainter& painter, QPointF centre, double radius);
    void PaintHeadingDial(QPainter& painter, QPointF centre, double radius);
    void PaintCompassRose(QPainter& painter, QPointF centre, double scale);
    void PaintReadout(QPainter& painter, QPointF centre, const QString& text, QColor colour,
                      bool degreeSign = false);

    CVantrelDoc& doc;
    ViewHost* host = nullptr;
    QImage memory;  // the memory bitmap, client size
    QPainterPath outerRing, innerRing, marker;
    QTimer repaintTimer;
    bool dragging = false;
    QPoint dragStart;
    QPoint frameStart;
};
