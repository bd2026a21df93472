#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>

FakePlatform::FakePlatform() = default;
FakePlatform::~FakePlatform() = default;

void FakePlatform::StartTimer(int timerId, int periodMs) {
    timers[timerId] = periodMs;
    due[timerId] = tick + static_cast<std::uint32_t>(std::max(periodMs, 1));
    Record("timer " + std::to_string(timerId) + " started at " + std::to_string(periodMs) + " ms");
}

void FakePlatform::StopTimer(int timerId) {
    due.erase(timerId);
    if (timers.erase(timerId) != 0) Record("timer " + std::to_string(timerId) + " stopped");
}

int FakePlatform::TimerPeriod(int timerId) const {
    const auto it = timers.find(timerId);
    return it == timers.end() ? -1 : it->second;
}

void FakePlatform::FireTimer(int timerId) {
    ASSERT_TRUE(TimerRunning(timerId)) << "timer " << timerId << " is not running";
    if (timerListener) timerListener->OnTimer(timerId);
}

bool FakePlatform::RunFor(int ms, int maxEvents) {
    const std::uint32_t end = tick + static_cast<std::uint32_t>(ms);
    int events = 0;
    for (;;) {
        while (!posted.empty()) {
            if (++events > maxEvents) return false;
            const std::function<void()> event = std::move(posted.front());
            posted.pop_front();
            event();
        }
        auto next = due.end();
        for (auto it = due.begin(); it != due.end(); ++it) {
            if (it->second <= end && (next == due.end() || it->second < next->second)) next = it;
        }
        if (next == due.end()) break;
        if (++events > maxEvents) return false;
        const int timerId = next->first;
        tick = next->second;
        next->second = tick + static_cast<std::uint32_t>(std::max(timers[timerId], 1));
        if (timerListener) timerListener->OnTimer(timerId);
    }
    tick = end;
    return true;
}

std::unique_ptr<CSCSocket> FakePlatform::CreateHeadSocket(int headIndex,
                                                          HeadSocketListener* listener) {
    auto socket = std::make_unique<FakeSocket>(*this, headIndex, listener);
    sockets[headIndex] = socket.get();
    return socket;
}

void FakePlatform::MessageBox(const std::string& text) {
    Record("message box '" + text + "'");
    messages.push_back(text);
    const auto it = std::find(expectedMessages.begin(), expectedMessages.end(), text);
    if (it == expectedMessages.end()) {
        ADD_FAILURE() << "unexpected message box: '" << text << "'";
    } else {
        expectedMessages.erase(it);
    }
}

bool FakePlatform::YesNoBox(const std::string& text) {
    Record("yes/no box '" + text + "'");
    if (yesNoAnswers.empty()) {
        ADD_FAILURE() << "unexpected question: '" << text << "'";
        return false;
    }
    const bool yes = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return yes;
}

bool FakePlatform::ConnectDialog(std::string& address) {
    Record("connect dialog '" + address + "'");
    if (!connectAddress.empty()) address = connectAddress;
    return connectAnswer;
}

std::optional<std::string> FakePlatform::OpenFileDialog(const FileDialogRequest& request) {
    Record("open dialog '" + request.title + "' '" + request.filter + "'");
    if (fileDialogAnswers.empty()) return std::nullopt;
    auto answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer;
}

std::optional<std::string> FakePlatform::SaveFileDialog(const FileDialogRequest& request) {
    Record("save dialog '" + request.title + "' '" + request.fileName + "'");
    lastSaveRequest = request;
    if (fileDialogAnswers.empty()) return std::nullopt;
    auto answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer;
}

std::vector<std::string> FakePlatform::OpenFilesDialog(const FileDialogRequest& request) {
    Record("open files dialog '" + request.title + "' '" + request.filter + "'");
    if (filesDialogAnswers.empty()) return {};
    std::vector<std::string> answer = filesDialogAnswers.front();
    filesDialogAnswers.pop_front();
    return answer;
}

void FakePlatform::PlaySound(const std::string& path) {
    Record("sound '" + path + "'");
}

std::vector<std::string> FakePlatform::TakeCalls() {
    std::vector<std::string> taken;
    taken.swap(calls);
    return taken;
}

FakeSocket::FakeSocket(FakePlatform& platformRef, int headIndexArg, HeadSocketListener* l)
    : platform(platformRef), head(headIndexArg), listener(l) {}

FakeSocket::~FakeSocket() = default;

int FakeSocket::Connect(const std::string& address, int port) {
    ++generation;
    ++connectCount;
    lastAddress = address;
    connectPending = true;
    platform.Record("connect " + std::to_string(head) + " " + address + ":" + std::to_string(port));
    switch (outcome) {
        case Outcome::Pending:
            return connectResult;
        case Outcome::ErrorReturned:
            connectPending = false;
            return failureCode;
        case Outcome::ErrorNotified:
            Later([this] {
                connectPending = false;
                listener->OnConnect(head, failureCode);
            });
            break;
        case Outcome::CloseNotified:
            Later([this] {
                connectPending = false;
                listener->OnClose(head, failureCode);
            });
            break;
        case Outcome::AcceptedThenClosed:
            Later([this] {
                connectPending = false;
                listener->OnConnect(head, 0);
            });
            Later([this] { listener->OnClose(head, 0); });
            break;
    }
    return CSCSocket::kWouldBlock;
}

void FakeSocket::Later(std::function<void()> event) {
    platform.Post([this, connection = generation, event = std::move(event)] {
        if (connection == generation) event();
    });
}

void FakeSocket::Close() {
    ++generation;
    connectPending = false;
    inbox.clear();
    platform.Record("close " + std::to_string(head));
}

int FakeSocket::Send(const std::uint8_t* data, int length) {
    sent.emplace_back(data, data + length);
    platform.Record("send " + std::to_string(head) + " cmd " + std::to_string(data[1]) + " half " +
                    std::to_string(data[10]));
    return length;
}

int FakeSocket::Receive(std::uint8_t* buffer, int maxLength) {
    const int n = std::min<int>(maxLength, static_cast<int>(inbox.size()));
    std::copy_n(inbox.begin(), n, buffer);
    inbox.erase(inbox.begin(), inbox.begin() + n);
    return n;
}

void FakeSocket::CompleteConnect(int errorCode) {
    ASSERT_TRUE(connectPending) << "no connect pending on head " << head;
    connectPending = false;
    listener->OnConnect(head, errorCode);
}

void FakeSocket::Arrive(const std::vector<std::uint8_t>& bytes, int errorCode) {
    inbox.insert(inbox.end(), bytes.begin(), bytes.end());
    listener->OnReceive(head, errorCode);
}

void FakeSocket::RemoteClose() {
    listener->OnClose(head, 0);
}
