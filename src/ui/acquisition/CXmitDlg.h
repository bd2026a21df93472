#pragma once
// "Transmit": switches the transmission of each side of each head. A box is checked while its
// side transmits; "OK" writes the heads' transmit-off masks and builds the switch commands
// again, "Cancel" changes nothing. During playback the boxes only show the recorded state.

#include <QDialog>
#include <array>

#include "models/HeadDiagnostics.h"

class CVantrelDoc;
class QCheckBox;
class QLabel;

class CXmitDlg : public QDialog {
    Q_OBJECT
public:
    explicit CXmitDlg(CVantrelDoc& doc, QWidget* parent = nullptr);
    // The box of a control (1406, 1407, 1415, 1420, 1409, 1411, 1413); null for another id.
    QCheckBox* Box(int controlId) const;
    // The row label of a head (0..3).
    QLabel* RowLabel(int head) const { return rowLabels[static_cast<std::size_t>(head)]; }

protected:
    void showEvent(QShowEvent* event) override;
    void accept() override;

private:
    CVantrelDoc& doc;
    std::array<QCheckBox*, kTransmitSwitchCount> boxes{};
    std::array<QLabel*, 4> rowLabels{};
};
