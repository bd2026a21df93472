#pragma once
// The only way from the logic to the machine: timers, head sockets, operator dialogs, clock
// and sound. QtPlatform implements it for the application and the tools; tests use a fake that
// records every call and lets them fire timers and notifications by hand.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/CSCSocket.h"

// Local time as the clock gives it; month 1..12, dayOfWeek 0 = Sunday.
struct LocalTime {
    int year = 0, month = 1, dayOfWeek = 0, day = 1;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Receives the expiry of window timers by identifier.
class TimerListener {
public:
    virtual ~TimerListener() = default;
    virtual void OnTimer(int timerId) = 0;
};

// A file dialog: title, filter text ("Sonar Files (*.svx)"), directory and proposed name.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string directory;
    std::string fileName;
};

class Platform {
public:
    virtual ~Platform() = default;

    // Timers on the main window; starting a running timer restarts it with the new period.
    virtual void SetTimerListener(TimerListener* listener) = 0;
    virtual void StartTimer(int timerId, int periodMs) = 0;
    virtual void StopTimer(int timerId) = 0;

    // A new, unconnected head socket that notifies the listener.
    virtual std::unique_ptr<CSCSocket> CreateHeadSocket(int headIndex,
                                                        HeadSocketListener* listener) = 0;

    // Operator dialogs. ConnectDialog returns true for "YES" and the edited address.
    virtual void MessageBox(const std::string& text) = 0;
    // A question with "Yes" and "No"; true for "Yes".
    virtual bool YesNoBox(const std::string& text) = 0;
    virtual bool ConnectDialog(std::string& address) = 0;
    virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;
    // Several existing files at once; empty when cancelled. A platform without its own asks for
    // one file.
    virtual std::vector<std::string> OpenFilesDialog(const FileDialogRequest& request) {
        std::optional<std::string> one = OpenFileDialog(request);
        return one ? std::vector<std::string>{*one} : std::vector<std::string>{};
    }

    // Clock: local time and a millisecond tick count.
    virtual LocalTime Now() = 0;
    virtual std::uint32_t TickCountMs() = 0;

    // Plays a wave file asynchronously; no audio device means silence.
    virtual void PlaySound(const std::string& path) = 0;
};
