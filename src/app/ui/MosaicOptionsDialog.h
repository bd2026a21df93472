#pragma once
// "Mosaic Options": the side-scan head laid, the pixel size, the layback of the towfish and
// the slant-range correction, asked before a GeoTIFF or KMZ mosaic is exported. For the mosaic
// of several recordings it also asks which sample is kept where their lines overlap, how many
// threads lay them and whether the samples are normalised across the track.

#include <QDialog>

#include "export/Mosaic.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

class MosaicOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // `several`: the options of a mosaic of several recordings.
    MosaicOptionsDialog(const svx::MosaicOptions& proposed, QWidget* parent, bool several = false);
    svx::MosaicOptions Options() const;

    // The controls, for the tests (the last three only for several recordings, else null).
    QComboBox* HeadBox() const { return head; }
    QDoubleSpinBox* ResolutionBox() const { return resolution; }
    QDoubleSpinBox* LaybackBox() const { return layback; }
    QCheckBox* SlantBox() const { return slant; }
    QComboBox* OverlapBox() const { return overlap; }
    QSpinBox* ThreadsBox() const { return threads; }
    QCheckBox* NormalizeBox() const { return normalize; }

private:
    svx::MosaicOptions base;
    QComboBox* head;
    QDoubleSpinBox* resolution;
    QDoubleSpinBox* layback;
    QCheckBox* slant;
    QComboBox* overlap = nullptr;
    QSpinBox* threads = nullptr;
    QCheckBox* normalize = nullptr;
};
