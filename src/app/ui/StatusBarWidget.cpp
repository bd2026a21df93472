#include "app/ui/StatusBarWidget.h"

#include <QHBoxLayout>
#include <QLabel>

StatusBarWidget::StatusBarWidget(const QString& name, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(0);
}

void StatusBarWidget::Build(const StatusBarPanes& panes) {
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    for (int i = 0; i < kStatusPaneCount; ++i) {
        const StatusPane& pane = panes[i];
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        // A little wider than the nominal pixels: today's fonts are larger than the original
        // system font, and a clipped value is worse than a wider bar.
        const int width = pane.width * 13 / 10;
        // The message pane takes the room the fixed panes leave, so that a message is read
        // whole.
        if (pane.kind == PaneKind::Message) {
            label->setMinimumWidth(width);
        } else {
            label->setFixedWidth(width);
        }
        const bool boxed = pane.kind == PaneKind::Value || pane.kind == PaneKind::Text ||
                           pane.kind == PaneKind::Message;
        if (boxed) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (pane.kind == PaneKind::Label) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (pane.kind == PaneKind::Spacer) label->setEnabled(false);
        layout->insertWidget(i, label, pane.kind == PaneKind::Message ? 1 : 0);
        labels.push_back(label);
    }
}

void StatusBarWidget::SetPanes(const StatusBarPanes& panes) {
    if (labels.isEmpty()) Build(panes);
    for (int i = 0; i < kStatusPaneCount; ++i) {
        const QString text = QString::fromStdString(panes[i].text);
        if (labels[i]->text() != text) labels[i]->setText(text);
    }
}

QLabel* StatusBarWidget::AddTrailingPane(const QString& name, const QString& label, int labelWidth,
                                         int valueWidth) {
    // The 23 panes are inserted at the front when they are built; these stay after them.
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    if (!label.isEmpty()) {
        auto* caption = new QLabel(label, this);
        caption->setFixedWidth(labelWidth);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->insertWidget(layout->count() - 1, caption);
    }
    auto* value = new QLabel(this);
    value->setObjectName(name);
    value->setFixedWidth(valueWidth);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    layout->insertWidget(layout->count() - 1, value);
    return value;
}

QString StatusBarWidget::PaneText(int index) const {
    return index >= 0 && index < labels.size() ? labels[index]->text() : QString();
}
