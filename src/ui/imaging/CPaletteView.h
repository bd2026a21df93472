#pragma once
// The palette editor's client area: the curve box with the red, green and blue curves, the
// palette they make, the "Set" and "Reset" buttons of each curve, "Apply", "X", "Load" and
// "Save". Everything it shows and edits lives in the document's PaletteEditor; the view draws
// it, forwards the mouse to it and copies the result to the document after every paint.

#include <QPoint>
#include <QWidget>
#include <array>

#include "imaging/ColourTables.h"

class CVantrelDoc;
class PaletteEditor;
class QCheckBox;
class QPushButton;
class QRadioButton;
class ViewHost;
struct CurvePoint;

class CPaletteView : public QWidget {
    Q_OBJECT
public:
    // Opens the document's editor model (its start-up state).
    explicit CPaletteView(CVantrelDoc& doc, QWidget* parent = nullptr);

    // Every waterfall view is repainted through the host when the curves change the palette
    // the images use.
    void SetHost(ViewHost* newHost) { host = newHost; }
    // The editor model is gone (the document closed it): the view no longer draws or edits.
    void Detach();
    bool Attached() const { return editor != nullptr; }
    // Check box and radio buttons from the document and the model, then a redraw.
    void Refresh();

    QRadioButton* SetButton(int curve) const { return setButtons[curve]; }
    QPushButton* ResetButton(int curve) const { return resetButtons[curve]; }
    QCheckBox* ApplyBox() const { return applyBox; }
    QPushButton* CloseButton() const { return closeButton; }
    QPushButton* LoadButton() const { return loadButton; }
    QPushButton* SaveButton() const { return saveButton; }

    QSize sizeHint() const override;

Q_SIGNALS:
    // "X": hide the editor window.
    void CloseRequested();
    // A press outside the curve box moves the whole window by this much.
    void WindowDragged(QPoint delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void CreateControls();
    void PaintBox(QPainter& painter);
    void PaintCurves(QPainter& painter);
    void PaintPaletteStrip(QPainter& painter, const Palette& palette);
    void PaintLabels(QPainter& painter);
    void MovePointerTo(const CurvePoint& spot);
    void ApplyToDocument();

    CVantrelDoc& doc;
    PaletteEditor* editor = nullptr;
    ViewHost* host = nullptr;
    std::array<QRadioButton*, 3> setButtons{};
    std::array<QPushButton*, 3> resetButtons{};
    QCheckBox* applyBox = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* loadButton = nullptr;
    QPushButton* saveButton = nullptr;
    bool draggingWindow = false;
    QPoint dragOrigin;
    // The palette the images were last repainted with.
    Palette shownPalette{};
};
