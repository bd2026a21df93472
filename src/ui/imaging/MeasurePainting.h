#pragma once
// Paints the measuring overlay of a waterfall view: its stored marks, the measurement in
// progress and the target-height prompts, as the measuring tools plan them.

class QPainter;
class QSize;
class SonarViewState;

// Cyan lines and crosses, white labels on black; with "Show Mark Shadow" a black shadow
// beneath. Coordinates follow the view's scroll offset.
void PaintMeasureOverlay(QPainter& painter, SonarViewState& state, QSize client, int units);
