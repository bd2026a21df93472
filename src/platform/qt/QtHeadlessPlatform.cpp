#include "platform/qt/QtHeadlessPlatform.h"

#include <QDateTime>
#include <QTimer>

#include <chrono>
#include <cstdio>

#include "platform/qt/QtHeadSocket.h"

namespace {

void ToStandardError(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace

QtHeadlessPlatform::QtHeadlessPlatform() : messageSink(ToStandardError) {}

QtHeadlessPlatform::~QtHeadlessPlatform() = default;

void QtHeadlessPlatform::SetConnectPreset(bool yes, const std::string& address) {
    presetYes = yes;
    presetAddress = address;
}

void QtHeadlessPlatform::SetMessageSink(MessageSink sink) {
    messageSink = sink ? std::move(sink) : MessageSink(ToStandardError);
}

void QtHeadlessPlatform::StartTimer(int timerId, int periodMs) {
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

void QtHeadlessPlatform::StopTimer(int timerId) {
    const auto it = timers.find(timerId);
    if (it != timers.end()) it->second->stop();
}

bool QtHeadlessPlatform::TimerRunning(int timerId) const {
    const auto it = timers.find(timerId);
    return it != timers.end() && it->second->isActive();
}

std::unique_ptr<CSCSocket> QtHeadlessPlatform::CreateHeadSocket(int headIndex,
                                                                HeadSocketListener* listener) {
    return std::make_unique<QtHeadSocket>(headIndex, listener);
}

void QtHeadlessPlatform::MessageBox(const std::string& text) {
    messageSink(text);
}

bool QtHeadlessPlatform::YesNoBox(const std::string& text) {
    // Without an operator nothing is confirmed.
    messageSink(text);
    return false;
}

bool QtHeadlessPlatform::ConnectDialog(std::string& address) {
    if (!presetAddress.empty()) address = presetAddress;
    return presetYes;
}

std::optional<std::string> QtHeadlessPlatform::OpenFileDialog(const FileDialogRequest&) {
    return std::nullopt;
}

std::optional<std::string> QtHeadlessPlatform::SaveFileDialog(const FileDialogRequest&) {
    return std::nullopt;
}

LocalTime QtHeadlessPlatform::Now() {
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

std::uint32_t QtHeadlessPlatform::TickCountMs() {
    using namespace std::chrono;
    // Wraps after 49.7 days like a millisecond tick count.
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void QtHeadlessPlatform::PlaySound(const std::string&) {}
