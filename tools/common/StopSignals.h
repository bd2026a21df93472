#pragma once
// SIGINT and SIGTERM ask a command-line tool to stop: the handler only sets a flag, which the
// tool's event loop polls and then quits cleanly (sockets closed, files whole).

#include <csignal>

namespace tools {

inline volatile std::sig_atomic_t stopRequested = 0;

inline void RequestStop(int) { stopRequested = 1; }

inline void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace tools
