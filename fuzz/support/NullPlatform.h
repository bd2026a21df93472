#pragma once
// A platform for fuzz targets: every service is inert; head sockets hand out the bytes the
// fuzzer gives them.

#include <algorithm>
#include <deque>

#include "platform/Platform.h"

class QueueSocket : public CSCSocket {
public:
    int Connect(const std::string&, int) override { return kWouldBlock; }
    void Close() override { inbox.clear(); }
    int Send(const std::uint8_t*, int length) override { return length; }
    int Receive(std::uint8_t* buffer, int maxLength) override {
        const int n = std::min<int>(maxLength, static_cast<int>(inbox.size()));
        std::copy_n(inbox.begin(), n, buffer);
        inbox.erase(inbox.begin(), inbox.begin() + n);
        return n;
    }
    std::deque<std::uint8_t> inbox;
};

class NullPlatform : public Platform {
public:
    void SetTimerListener(TimerListener*) override {}
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    std::unique_ptr<CSCSocket> CreateHeadSocket(int, HeadSocketListener*) override {
        return std::make_unique<QueueSocket>();
    }
    void MessageBox(const std::string&) override {}
    bool YesNoBox(const std::string&) override { return false; }
    bool ConnectDialog(std::string&) override { return true; }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    LocalTime Now() override { return {}; }
    std::uint32_t TickCountMs() override { return 0; }
    void PlaySound(const std::string&) override {}
};
