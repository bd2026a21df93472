#pragma once
// The echo-sounder window: the document's echogram through the current colour table, its depth
// scale in the operator's units, the range and gain read-out and the altitude.

#include <QImage>
#include <QWidget>

class CVantrelDoc;

class CEchoSounder : public QWidget {
    Q_OBJECT
public:
    explicit CEchoSounder(CVantrelDoc& doc, QWidget* parent = nullptr);
    ~CEchoSounder() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintOverlay(class QPainter& painter);

    CVantrelDoc& doc;
    // The echogram as shown: the document keeps its columns in a ring, unwrapped here per paint.
    QImage bitmap;
};
