#pragma once
// One status bar of the main window: 23 panes of fixed width.

#include <QFrame>
#include <QVector>

#include "app/StatusBars.h"

class QLabel;

class StatusBarWidget : public QFrame {
    Q_OBJECT
public:
    explicit StatusBarWidget(const QString& name, QWidget* parent = nullptr);
    void SetPanes(const StatusBarPanes& panes);
    QString PaneText(int index) const;
    // The pane is shown in the warning colour.
    bool PaneWarns(int index) const;
    // A pane after the 23, with a label when `label` is not empty; returns its value label. A
    // stretching pane is at least valueWidth wide and shares the room a wider window leaves.
    QLabel* AddTrailingPane(const QString& name, const QString& label, int labelWidth,
                            int valueWidth, bool stretches = false);

private:
    void Build(const StatusBarPanes& panes);
    QVector<QLabel*> labels;
};
