#pragma once
// The platform without windows, on Qt Core and Qt Network alone: window timers on QTimer, head
// sockets on QTcpSocket, the local clock. Nobody answers: message boxes go to a sink (standard
// error by default), a yes/no question is answered no, the Connect dialog answers from a preset
// and file dialogs answer "cancelled"; sounds are not played. The command-line tools run on it
// and so link no widget, printing or multimedia library; QtPlatform adds the operator's dialogs
// and sound on top of it.
//
// Threads: every function is called on the thread of the QCoreApplication, and the timers and
// socket notifications it delivers arrive there through the event loop.

#include <QObject>

#include <functional>
#include <map>
#include <string>

#include "platform/Platform.h"

class QTimer;

class QtHeadlessPlatform : public Platform {
public:
    using MessageSink = std::function<void(const std::string&)>;

    QtHeadlessPlatform();
    ~QtHeadlessPlatform() override;
    QtHeadlessPlatform(const QtHeadlessPlatform&) = delete;
    QtHeadlessPlatform& operator=(const QtHeadlessPlatform&) = delete;

    // The Connect dialog's answer and address (empty keeps the proposed one).
    void SetConnectPreset(bool yes, const std::string& address);
    // Where message boxes go.
    void SetMessageSink(MessageSink sink);

    void SetTimerListener(TimerListener* listener) override { timerListener = listener; }
    void StartTimer(int timerId, int periodMs) override;
    void StopTimer(int timerId) override;
    bool TimerRunning(int timerId) const;

    std::unique_ptr<CSCSocket> CreateHeadSocket(int headIndex,
                                                HeadSocketListener* listener) override;

    void MessageBox(const std::string& text) override;
    bool YesNoBox(const std::string& text) override;
    bool ConnectDialog(std::string& address) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;

    LocalTime Now() override;
    std::uint32_t TickCountMs() override;

    void PlaySound(const std::string& path) override;

private:
    TimerListener* timerListener = nullptr;
    QObject timerOwner;
    std::map<int, QTimer*> timers;
    bool presetYes = true;
    std::string presetAddress;
    MessageSink messageSink;
};
