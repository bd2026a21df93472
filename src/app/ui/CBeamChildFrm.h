#pragma once
// The beam coverage window ("&Beam Coverage...", command 32857): the picture of
// CBeamCoverView beside the settings it is drawn for (frequency set, towfish height, range and
// the nominal beam widths, all editable), with printing and a print preview of the picture.

#include <QPointer>
#include <QWidget>
#include <array>

#include "app/BeamCoverage.h"

class CBeamCoverView;
class CVantrelDoc;
class CommandTable;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QMdiArea;
class QPrinter;

class CBeamChildFrm : public QWidget {
    Q_OBJECT
public:
    CBeamChildFrm(CVantrelDoc& doc, QWidget* parent = nullptr);

    CBeamCoverView* View() const { return view; }
    QComboBox* FrequencySet() const { return frequencySet; }
    QDoubleSpinBox* Height() const { return height; }
    QDoubleSpinBox* Range() const { return range; }
    // Beam i's depression, vertical and horizontal width; 3 is the echo sounder's cone.
    QDoubleSpinBox* Width(int beam, int column) const { return widths[beam][column]; }
    QLabel* Figures() const { return figures; }

    // Draws the picture on the printer's page.
    void PrintTo(QPrinter& printer) const;
    void Print();
    void PrintPreview();

private:
    QWidget* BuildSettings();
    QWidget* BuildWidths();
    void LoadNominal();
    void Update();
    // The frequency sets the combo offers: the three-frequency set and the installation's.
    std::array<int, 3> SetFrequencies(int index) const;

    CVantrelDoc& doc;
    CBeamCoverView* view = nullptr;
    QComboBox* frequencySet = nullptr;
    QDoubleSpinBox* height = nullptr;
    QDoubleSpinBox* range = nullptr;
    std::array<std::array<QDoubleSpinBox*, 3>, 4> widths{};
    std::array<QLabel*, 3> beamLabels{};
    QLabel* figures = nullptr;
    bool loading = false;
};

// Adds command 32857: opens the window in the area, or brings the open one to the top.
void AddBeamCoverageCommand(CommandTable& commands, CVantrelDoc& doc, QMdiArea* area);
