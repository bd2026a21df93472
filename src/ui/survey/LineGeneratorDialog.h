#pragma once
// "Generate Lines...": parallel lines from the plan's active line (spacing, count, side, and
// whether every second line runs the other way). The spacing starts at what gives 20 % overlap
// of the ground swath at the present range and altitude, and the dialog says that swath.

#include <QDialog>
#include <optional>

#include "survey/LineGenerator.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

class LineGeneratorDialog : public QDialog {
    Q_OBJECT
public:
    // swathM: both sides at the present range and altitude; swathText says how it was found.
    LineGeneratorDialog(const survey::SurveyLine& first, double swathM, const QString& swathText,
                        QWidget* parent = nullptr);
    // The lines asked for, once accepted.
    survey::LineRequest Request() const;

private:
    survey::SurveyLine first;
    QDoubleSpinBox* spacing = nullptr;
    QSpinBox* count = nullptr;
    QComboBox* side = nullptr;
    QCheckBox* alternate = nullptr;
};
