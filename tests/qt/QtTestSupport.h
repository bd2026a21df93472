#pragma once
// Helpers for tests that run the Qt event loop.

#include <QTest>

#include <functional>

// Runs the event loop until `done` holds or `timeoutMs` has passed; true when it held.
inline bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    return QTest::qWaitFor(done, timeoutMs);
}
