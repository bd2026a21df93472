#pragma once
// Helpers for tests that run the Qt event loop.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs the event loop until `done` holds or `timeoutMs` has passed; true when it held. The
// loop waits for events (QTest::qWaitFor sleeps 10 ms between passes, which would slow an
// in-process client and server talking to each other to a crawl) and checks `done` every
// millisecond.
inline bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
    if (done()) return true;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || clock.elapsed() >= timeoutMs) loop.quit();
    });
    check.start(1);
    loop.exec();
    return done();
}
