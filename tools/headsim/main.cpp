// sonvara-headsim: simulated sonar heads on loopback TCP. See --help.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <csignal>
#include <cstdio>

#include <string>
#include <vector>
#include "../common/StopSignals.h"

#include "SimServer.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const sim::ParseResult parsed = sim::ParseSimArguments(args);
    if (parsed.help || parsed.version) {
        std::fputs(parsed.text.c_str(), stdout);
        return 0;
    }
    if (!parsed.config) {
        std::fprintf(stderr, "sonvara-headsim: %s (see sonvara-headsim --help)\n",
                     parsed.error.c_str());
        return 2;
    }
    const sim::SimConfig& config = *parsed.config;

    QCoreApplication app(argc, argv);
    tools::InstallStopHandlers();
    QElapsedTimer clock;
    clock.start();
    SimServer server(config);
    QString error;
    const bool started = server.Start(error, [&clock](const std::string& line) {
        std::printf("%9.3f %s\n", clock.elapsed() / 1000.0, line.c_str());
        std::fflush(stdout);
    });
    if (!started) {
        std::fprintf(stderr, "sonvara-headsim: %s\n", qPrintable(error));
        return 1;
    }
    for (int h = 0; h < kHeadCount; ++h) {
        if (!config.installation.present[h]) continue;
        std::fprintf(stderr, "sonvara-headsim: head %s listening on %s:%d\n", HeadLabel(h),
                     config.installation.addresses[h].c_str(), config.port);
    }
    std::fprintf(stderr, "sonvara-headsim: ready%s\n", config.fast ? " (fast replies)" : "");

    QTimer stopPoll;
    QObject::connect(&stopPoll, &QTimer::timeout, &app, [&app] {
        if (tools::stopRequested) app.quit();
    });
    stopPoll.start(50);
    if (config.durationS > 0) {
        QTimer::singleShot(static_cast<int>(config.durationS * 1000), &app,
                           &QCoreApplication::quit);
    }
    app.exec();
    std::fprintf(stderr, "sonvara-headsim: stopped\n");
    return 0;
}
