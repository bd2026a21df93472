#include "platform/qt/QtPlatform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <cstdio>

#include "platform/qt/ConnectDialog.h"
#include "platform/qt/QtHeadSocket.h"

namespace {

void ToStandardError(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

// The start directory of a file dialog with the proposed file name in it.
QString DialogPath(const FileDialogRequest& request) {
    const QString name = QString::fromStdString(request.fileName);
    if (request.directory.empty()) return name;
    return QDir(QString::fromStdString(request.directory)).filePath(name);
}

std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

}  // namespace

QtPlatform::QtPlatform(Mode platformMode) : mode(platformMode), messageSink(ToStandardError) {}

QtPlatform::~QtPlatform() = default;

void QtPlatform::SetConnectPreset(bool yes, const std::string& address) {
    presetYes = yes;
    presetAddress = address;
}

void QtPlatform::SetMessageSink(MessageSink sink) {
    messageSink = sink ? std::move(sink) : MessageSink(ToStandardError);
}

void QtPlatform::StartTimer(int timerId, int periodMs) {
    QTimer*& timer = timers[timerId];
    if (!timer) {
        timer = new QTimer(&timerOwner);
        // A coarse timer may fire up to 5 % early: a 3 s reply timeout must not.
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, &timerOwner, [this, timerId] {
            if (timerListener) timerListener->OnTimer(timerId);
        });
    }
    // Like a window timer it repeats until stopped; starting it again restarts the period.
    timer->start(periodMs < 0 ? 0 : periodMs);
}

void QtPlatform::StopTimer(int timerId) {
    const auto it = timers.find(timerId);
    if (it != timers.end()) it->second->stop();
}

bool QtPlatform::TimerRunning(int timerId) const {
    const auto it = timers.find(timerId);
    return it != timers.end() && it->second->isActive();
}

std::unique_ptr<CSCSocket> QtPlatform::CreateHeadSocket(int headIndex,
                                                        HeadSocketListener* listener) {
    return std::make_unique<QtHeadSocket>(headIndex, listener);
}

void QtPlatform::MessageBox(const std::string& text) {
    if (mode == Mode::Headless) {
        messageSink(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, dialogParent);
    box.exec();
}

bool QtPlatform::YesNoBox(const std::string& text) {
    // Without an operator nothing is confirmed.
    if (mode == Mode::Headless) {
        messageSink(text);
        return false;
    }
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, dialogParent);
    return box.exec() == QMessageBox::Yes;
}

bool QtPlatform::ConnectDialog(std::string& address) {
    if (mode == Mode::Headless) {
        if (!presetAddress.empty()) address = presetAddress;
        return presetYes;
    }
    if (nextConnectAnswer >= 0) {
        const bool yes = nextConnectAnswer == 1;
        nextConnectAnswer = -1;
        return yes;
    }
    ::ConnectDialog dialog(QString::fromStdString(address), dialogParent);
    const bool yes = dialog.exec() == QDialog::Accepted;
    address = dialog.Address().trimmed().toStdString();
    return yes;
}

std::optional<std::string> QtPlatform::OpenFileDialog(const FileDialogRequest& request) {
    if (mode == Mode::Headless) return std::nullopt;
    return Chosen(QFileDialog::getOpenFileName(dialogParent, QString::fromStdString(request.title),
                                               DialogPath(request),
                                               QString::fromStdString(request.filter)));
}

std::optional<std::string> QtPlatform::SaveFileDialog(const FileDialogRequest& request) {
    if (mode == Mode::Headless) return std::nullopt;
    return Chosen(QFileDialog::getSaveFileName(dialogParent, QString::fromStdString(request.title),
                                               DialogPath(request),
                                               QString::fromStdString(request.filter)));
}

LocalTime QtPlatform::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    LocalTime t;
    t.year = date.year();
    t.month = date.month();
    t.dayOfWeek = date.dayOfWeek() % 7;  // Qt counts Monday 1 .. Sunday 7
    t.day = date.day();
    t.hour = time.hour();
    t.minute = time.minute();
    t.second = time.second();
    t.millisecond = time.msec();
    return t;
}

std::uint32_t QtPlatform::TickCountMs() {
    using namespace std::chrono;
    // Wraps after 49.7 days like a millisecond tick count.
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void QtPlatform::PlaySound(const std::string& path) {
    if (!sound) sound = std::make_unique<QSoundEffect>();
    sound->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    sound->play();
}
