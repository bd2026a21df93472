#pragma once
// A platform for deterministic tests: it records every call as a line of text ("timer 1020
// started at 3000 ms", "send 1 128 bytes", "message box 'File has no data!'"), keeps the state
// of timers and sockets, and lets the test fire timers, connect completions, arriving bytes
// and dialog answers by hand. A message box the test did not expect fails the test.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"

class FakeSocket;

class FakePlatform : public Platform {
public:
    FakePlatform();
    ~FakePlatform() override;

    void SetTimerListener(TimerListener* listener) override { timerListener = listener; }
    void StartTimer(int timerId, int periodMs) override;
    void StopTimer(int timerId) override;
    std::unique_ptr<CSCSocket> CreateHeadSocket(int headIndex,
                                                HeadSocketListener* listener) override;
    void MessageBox(const std::string& text) override;
    // Takes the next of yesNoAnswers; a question without an answer fails the test (No).
    bool YesNoBox(const std::string& text) override;
    bool ConnectDialog(std::string& address) override;
    std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
    // Takes the next of filesDialogAnswers (none: cancelled).
    std::vector<std::string> OpenFilesDialog(const FileDialogRequest& request) override;
    LocalTime Now() override { return now; }
    std::uint32_t TickCountMs() override { return tick; }
    void PlaySound(const std::string& path) override;

    // --- Driving the fake ---------------------------------------------------------------------
    bool TimerRunning(int timerId) const { return timers.count(timerId) != 0; }
    int TimerPeriod(int timerId) const;
    void FireTimer(int timerId);
    FakeSocket& Socket(int head) { return *sockets.at(head); }
    // The calls recorded since the last TakeCalls, and forgets them.
    std::vector<std::string> TakeCalls();
    const std::vector<std::string>& Calls() const { return calls; }
    void Record(std::string call) { calls.push_back(std::move(call)); }

    // --- Time, for tests that let the engine run for a while -----------------------------------
    // A notification delivered after the current call has returned, as an event loop would.
    void Post(std::function<void()> event) { posted.push_back(std::move(event)); }
    // Runs `ms` of fake time (the tick count advances): delivers the posted notifications and
    // fires each timer whenever its period has passed (timers repeat until stopped). Returns
    // false, leaving the rest undelivered, when more than `maxEvents` notifications and timer
    // expiries came in that time: a storm.
    bool RunFor(int ms, int maxEvents = 100000);

    // Answers of the next dialogs; message boxes whose text is listed are expected.
    bool connectAnswer = true;
    std::string connectAddress;
    std::deque<std::optional<std::string>> fileDialogAnswers;
    std::deque<std::vector<std::string>> filesDialogAnswers;
    // The request of the last save dialog.
    FileDialogRequest lastSaveRequest;
    std::vector<std::string> expectedMessages;
    std::deque<bool> yesNoAnswers;
    std::vector<std::string> messages;

    LocalTime now;
    std::uint32_t tick = 0;

private:
    TimerListener* timerListener = nullptr;
    std::map<int, int> timers;
    std::map<int, std::uint32_t> due;
    std::deque<std::function<void()>> posted;
    std::map<int, FakeSocket*> sockets;
    std::vector<std::string> calls;
};

// A head socket whose connects, sends and arriving bytes are under the test's control.
class FakeSocket : public CSCSocket {
public:
    FakeSocket(FakePlatform& platform, int head, HeadSocketListener* listener);
    ~FakeSocket() override;

    int Connect(const std::string& address, int port) override;
    void Close() override;
    int Send(const std::uint8_t* data, int length) override;
    int Receive(std::uint8_t* buffer, int maxLength) override;

    // Completes the pending connect with this error code (0 = success).
    void CompleteConnect(int errorCode = 0);
    // Bytes arrive from the head and the receive notification is delivered.
    void Arrive(const std::vector<std::uint8_t>& bytes, int errorCode = 0);
    // The head closes the connection.
    void RemoteClose();

    // How each connect ends by itself, without CompleteConnect: Pending leaves it to the test;
    // the others fail at once (a head without a route to it, or one that drops every
    // connection): the error is returned by Connect, notified as a failed connect, notified
    // as a close, or the connect completes and is closed at once. Notifications are posted
    // (FakePlatform::RunFor delivers them) and dropped when the socket is closed first.
    enum class Outcome { Pending, ErrorReturned, ErrorNotified, CloseNotified, AcceptedThenClosed };
    Outcome outcome = Outcome::Pending;
    int failureCode = 10051;  // network unreachable
    int connectCount = 0;

    std::vector<std::vector<std::uint8_t>> sent;
    std::string lastAddress;
    bool connectPending = false;
    int connectResult = CSCSocket::kWouldBlock;
    std::deque<std::uint8_t> inbox;

private:
    void Later(std::function<void()> event);

    FakePlatform& platform;
    int head;
    HeadSocketListener* listener;
    std::uint64_t generation = 0;
};
