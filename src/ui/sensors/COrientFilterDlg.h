#pragma once
// "Orientation Filters": six check boxes that switch the smoothing of pitch, roll, heading,
// depth, temperature and altitude. "OK" stores them in the document; "Cancel" changes nothing.

#include <QDialog>
#include <array>

#include "sensors/OrientationState.h"

class CVantrelDoc;
class QCheckBox;

class COrientFilterDlg : public QDialog {
    Q_OBJECT
public:
    explicit COrientFilterDlg(CVantrelDoc& doc, QWidget* parent = nullptr);
    QCheckBox* Box(int quantity) const { return boxes[static_cast<std::size_t>(quantity)]; }

protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;

private:
    CVantrelDoc& doc;
    std::array<QCheckBox*, kFilterCount> boxes{};
};
