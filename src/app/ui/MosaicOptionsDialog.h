#pragma once
// "Mosaic Options": the side-scan head laid, the pixel size, the layback of the towfish and
// the slant-range correction, asked before a GeoTIFF or KMZ mosaic is exported.

#include <QDialog>

#include "export/Mosaic.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;

class MosaicOptionsDialog : public QDialog {
    Q_OBJECT
public:
    MosaicOptionsDialog(const svx::MosaicOptions& proposed, QWidget* parent);
    svx::MosaicOptions Options() const;

    // The controls, for the tests.
    QComboBox* HeadBox() const { return head; }
    QDoubleSpinBox* ResolutionBox() const { return resolution; }
    QDoubleSpinBox* LaybackBox() const { return layback; }
    QCheckBox* SlantBox() const { return slant; }

private:
    svx::MosaicOptions base;
    QComboBox* head;
    QDoubleSpinBox* resolution;
    QDoubleSpinBox* layback;
    QCheckBox* slant;
};
