#pragma once

#include <QStringList>
#include <QWidget>

#include <string>

// A received sentence as the list shows it: its text without the line end, every byte that is
// not printable ASCII (binary noise, a wrong baud rate) as a middle dot.
QString ReceivedText(const std::string& sentence);

// The "GPS Sentences Received:" area: a white sheet with one sentence a line.
class GpsSentencesArea : public QWidget {
    Q_OBJECT
public:
    explicit GpsSentencesArea(QWidget* parent);
    void SetSentences(const QStringList& sentences, int sentenceSet);
    const QStringList& Sentences() const { return sentences; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList sentences;
    int selection = 0;
};
