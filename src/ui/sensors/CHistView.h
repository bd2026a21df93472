#pragma once
// The "Orientation History" window: the document's history chart of depth, temperature,
// pitch, roll and heading, with its grid and band labels.

#include <QWidget>

class CVantrelDoc;

class CHistView : public QWidget {
    Q_OBJECT
public:
    explicit CHistView(CVantrelDoc& doc, QWidget* parent = nullptr);
    ~CHistView() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintGrid(class QPainter& painter);

    CVantrelDoc& doc;
};
