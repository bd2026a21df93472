#pragma once
// "Diagnostics": a modeless window with what the heads last said and how the link runs: reply
// headers and statuses, frequencies, gains, ranges, connections, transmit masks, the ping and
// display times and the installation's serial number. While it has the focus the main
// window's accelerators work in it.

#include <QDialog>
#include <QList>
#include <map>

class CVantrelDoc;
class QAction;
class QLabel;

class CDiagnosticsDlg : public QDialog {
    Q_OBJECT
public:
    CDiagnosticsDlg(CVantrelDoc& doc, const QList<QAction*>& accelerators,
                    QWidget* parent = nullptr);
    // Recomputes every value from the document and writes it into its control.
    void RefreshDiagnostics();
    // The text of a value control (1003, 1006, ...); empty for an unknown one.
    QString Value(int controlId) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CVantrelDoc& doc;
    std::map<int, QLabel*> values;
};
