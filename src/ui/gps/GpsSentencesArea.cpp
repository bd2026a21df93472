#include "ui/gps/GpsSentencesArea.h"

#include <QPainter>

#include "gps/GpsConfigDialogModel.h"

namespace {

constexpr int kLineHeight = 16;

}  // namespace

QString ReceivedText(const std::string& sentence) {
    QString text;
    text.reserve(static_cast<int>(sentence.size()));
    for (const char c : sentence) {
        if (c == '\r' || c == '\n') continue;
        text += c >= ' ' && c <= '~' ? QChar(QLatin1Char(c)) : QChar(0x00B7);
    }
    return text;
}

GpsSentencesArea::GpsSentencesArea(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(kLineHeight * 10 + 8);
}

void GpsSentencesArea::SetSentences(const QStringList& list, int sentenceSet) {
    if (list == sentences && sentenceSet == selection) return;
    sentences = list;
    selection = sentenceSet;
    update();
}

void GpsSentencesArea::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(12);
    painter.setFont(font);
    int line = 0;
    for (const QString& sentence : sentences) {
        // Slots holding a fragment or nothing are left out.
        if (sentence.size() <= 9) continue;
        const bool selected = SentenceInSelection(sentence.toStdString(), selection);
        painter.setPen(selected ? Qt::blue : Qt::black);
        painter.drawText(QRect(4, 2 + kLineHeight * line, width() - 8, kLineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, sentence);
        ++line;
    }
}
