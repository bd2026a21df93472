#pragma once
// The beam coverage picture: a cross-section across the track, to scale (one scale for both
// axes), with the towfish at its height above the seabed, the port and starboard fans of the
// three side-scan beams, the echo sounder's cone, and the figures of each beam. The same
// drawing goes to the screen, the printer and the print preview.

#include <QWidget>

#include "app/BeamCoverage.h"

class QPainter;

class CBeamCoverView : public QWidget {
    Q_OBJECT
public:
    explicit CBeamCoverView(QWidget* parent = nullptr);

    void SetSettings(const BeamCoverageSettings& settings);
    const BeamCoverageSettings& Settings() const { return settings; }
    // Draws the picture into the rectangle (screen pixels or printer dots); a printed page
    // carries the figures under the picture (the window shows them beside it as text).
    void Render(QPainter& painter, const QRect& rect, bool withFigures) const;
    // The figures of each beam, one line each, as the picture prints them.
    QStringList FigureLines() const;

    QSize sizeHint() const override { return {760, 420}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawSeabed(QPainter& painter, const QRect& area, double scale, double extent) const;
    void DrawBeams(QPainter& painter, QPointF fish, double scale) const;
    void DrawFigures(QPainter& painter, const QRect& rect) const;

    BeamCoverageSettings settings;
};
