#pragma once
// The platform of the application and the tools on Qt: window timers on QTimer, head sockets
// on QTcpSocket, operator dialogs on Qt Widgets, the local clock and QSoundEffect.
//
// Threads: every function is called on the user-interface thread, and the timers and socket
// notifications it delivers arrive there through the event loop.
//
// Headless mode (command-line tools, tests): no window is ever shown. Message boxes go to a
// sink (standard error by default), the Connect dialog answers from a preset and file dialogs
// answer "cancelled". It needs only a QCoreApplication.

#include <QObject>

#include <functional>
#include <map>
#include <memory>

#include "platform/Platform.h"

class QSoundEffect;
class QTimer;
class QWidget;

class QtPlatform : public Platform {
public:
    enum class Mode { Interactive, Headless };
    using MessageSink = std::function<void(const std::string&)>;

    explicit QtPlatform(Mode mode = Mode::Interactive);
    ~QtPlatform() override;

    Mode GetMode() const { return mode; }
    // The window dialogs are centred on (the main frame); may be null.
    void SetDialogParent(QWidget* parent) { dialogParent = parent; }
    // Headless: the Connect dialog's answer and address (empty keeps the proposed one).
    void SetConnectPreset(bool yes, const std::string& address);
    // Interactive: the next Connect dialog is answered without being shown (the application's
    // --yes option); later ones are shown.
    void AnswerNextConnectDialog(bool yes) { nextConnectAnswer = yes ? 1 : 0; }
    // Headless: where message boxes go.
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

    // Plays the wave file without waiting; a missing file or audio device means silence.
    void PlaySound(const std::string& path) override;

private:
    Mode mode;
    QWidget* dialogParent = nullptr;
    TimerListener* timerListener = nullptr;
    QObject timerOwner;
    std::map<int, QTimer*> timers;
    bool presetYes = true;
    int nextConnectAnswer = -1;
    std::string presetAddress;
    MessageSink messageSink;
    std::unique_ptr<QSoundEffect> sound;
};
