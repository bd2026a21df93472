#include "app/ui/StatusBarWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <algorithm>

namespace {

// A pane whose text may be longer than the room it gets: the text ends in "…" where it is cut,
// so the operator knows to look at the tool tip; text() keeps the whole text.
class ElidedLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {minimumWidth(), QLabel::sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        const QRect room = contentsRect().adjusted(margin(), 0, -margin(), 0);
        painter.drawText(room, static_cast<int>(alignment()),
                         fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
    }
};

// Values and texts are a little wider than their nominal pixels: today's fonts are larger than
// the original system font, and a clipped value is worse than a wider bar. A label's text is
// fixed, so it takes what its text needs; an empty spacer keeps its nominal width, and the
// message pane has it as its minimum. The bars then leave room in a 1280-pixel window for the
// panes after the 23.
int PaneWidth(const StatusPane& pane, const QFontMetrics& metrics) {
    switch (pane.kind) {
        case PaneKind::Spacer:
        case PaneKind::WideSpacer:
        case PaneKind::Message:  // its minimum: it takes the room the others leave
            return pane.width;
        case PaneKind::Label:
            return std::max(pane.width * 9 / 10,
                            metrics.horizontalAdvance(QString::fromStdString(pane.text)) + 4);
        default:
            return pane.width * 13 / 10;
    }
}

constexpr const char* kWarningProperty = "warning";
// White on a deep red: read at a glance, and unlike any value colour of the bars.
constexpr const char* kWarningStyle =
    "QLabel { background-color: #b71c1c; color: white; font-weight: bold; }";

}  // namespace

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
        const int width = PaneWidth(pane, label->fontMetrics());
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
        QLabel* label = labels[i];
        const QString text = QString::fromStdString(panes[i].text);
        if (label->text() != text) label->setText(text);
        const QString tip = QString::fromStdString(panes[i].tip);
        if (label->toolTip() != tip) label->setToolTip(tip);
        const bool warning = panes[i].warning;
        if (label->property(kWarningProperty).toBool() != warning) {
            label->setProperty(kWarningProperty, warning);
            label->setStyleSheet(warning ? QString::fromLatin1(kWarningStyle) : QString());
        }
    }
}

bool StatusBarWidget::PaneWarns(int index) const {
    return index >= 0 && index < labels.size() && labels[index]->property(kWarningProperty).toBool();
}

QLabel* StatusBarWidget::AddTrailingPane(const QString& name, const QString& label, int labelWidth,
                                         int valueWidth, bool stretches) {
    // The 23 panes are inserted at the front when they are built; these are appended in the
    // order they are added, each caption before its value.
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    if (!label.isEmpty()) {
        auto* caption = new QLabel(label, this);
        caption->setFixedWidth(labelWidth);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->addWidget(caption);
    }
    auto* value = stretches ? new ElidedLabel(this) : new QLabel(this);
    value->setObjectName(name);
    if (stretches) {
        value->setMinimumWidth(valueWidth);
    } else {
        value->setFixedWidth(valueWidth);
    }
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    layout->addWidget(value, stretches ? 1 : 0);
    return value;
}

QString StatusBarWidget::PaneText(int index) const {
    return index >= 0 && index < labels.size() ? labels[index]->text() : QString();
}
