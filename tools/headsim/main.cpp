// sonvara-headsim: simulated sonar heads on loopback TCP. See --help.

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>

#include <string>
#include <vector>
#include "../common/StopSignals.h"

#include "GpsWriter.h"
#include "PlanPath.h"
#include "SimGps.h"
#include "SimRecording.h"
#include "SimServer.h"
#include "common/TextFormat.h"

namespace {

bool ToCount(const std::string& text, int& value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size() && value > 0 && value <= 1000000;
}

// The GPS writes one batch of sentences per tick, the vessel moving with the elapsed time.
bool StartGps(const sim::GpsSimConfig& gps, std::shared_ptr<const sim::VesselPath> path,
              sim::GpsWriter& writer, QTimer& timer, const QElapsedTimer& clock) {
    std::string error;
    if (!writer.Open(gps.device, error)) {
        std::fprintf(stderr, "sonvara-headsim: %s\n", error.c_str());
        return false;
    }
    std::fprintf(stderr, "sonvara-headsim: GPS on %s\n", writer.Path().c_str());
    const QDateTime start = QDateTime::currentDateTimeUtc();
    QObject::connect(&timer, &QTimer::timeout, [&writer, &clock, gps, start, path] {
        const double seconds = clock.elapsed() / 1000.0;
        const QDateTime now = start.addMSecs(clock.elapsed());
        const double utc = now.time().msecsSinceStartOfDay() / 1000.0;
        const QDate date = now.date();
        writer.Write(sim::NmeaBatch(path->At(seconds, gps.speedKnots), utc, date.day(),
                                    date.month(), date.year(), gps.talker));
    });
    timer.start(static_cast<int>(1000.0 / gps.rateHz));
    return true;
}

// --write-recording FILE [N]: N records (default 400) of the survey, no network needed.
int WriteRecording(const std::vector<std::string>& rest,
                   std::shared_ptr<const sim::VesselPath> path) {
    sim::RecordingPlan plan;
    plan.path = std::move(path);
    if (rest.empty() || (rest.size() > 1 && !ToCount(rest[1], plan.records))) {
        std::fprintf(stderr, "sonvara-headsim: --write-recording wants FILE [RECORDS]\n");
        return 2;
    }
    std::string error;
    if (!sim::WriteSimulatedRecording(rest[0], plan, error)) {
        std::fprintf(stderr, "sonvara-headsim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d records\n", rest[0].c_str(), plan.records);
    return 0;
}

// The path the vessel sails: the plan's with --plan FILE, else the default legs. Empty, with
// the message printed, for a missing or unreadable plan.
std::shared_ptr<const sim::VesselPath> TakePath(std::vector<std::string>& args, bool& planned) {
    std::string file, error;
    if (!sim::TakePlanArgument(args, file, error)) {
        std::fprintf(stderr, "sonvara-headsim: %s\n(see --help)\n", error.c_str());
        return nullptr;
    }
    planned = !file.empty();
    if (!planned) return sim::DefaultPath();
    std::shared_ptr<const sim::VesselPath> plan = sim::LoadPlanPath(file, error);
    if (!plan) std::fprintf(stderr, "sonvara-headsim: %s\n", error.c_str());
    return plan;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool planned = false;
    const std::shared_ptr<const sim::VesselPath> path = TakePath(args, planned);
    if (!path) return 2;
    if (std::find(args.begin(), args.end(), "--describe") != args.end()) {
        std::fputs(sim::DescribeTargets(*path).c_str(), stdout);  // the seabed targets, then exit
        return 0;
    }
    if (const auto at = std::find(args.begin(), args.end(), "--write-recording");
        at != args.end()) {
        return WriteRecording(std::vector<std::string>(at + 1, args.end()), path);
    }
    std::optional<sim::GpsSimConfig> gps;
    std::string gpsError;
    if (!sim::TakeGpsArguments(args, gps, gpsError)) {
        std::fprintf(stderr, "sonvara-headsim: %s\n(see --help)\n", gpsError.c_str());
        return 2;
    }
    if (planned && !gps) {
        std::fprintf(stderr, "sonvara-headsim: --plan needs --gps\n(see --help)\n");
        return 2;
    }
    const sim::ParseResult parsed = sim::ParseSimArguments(args);
    if (parsed.help || parsed.version) {
        std::fputs(parsed.text.c_str(), stdout);
        if (parsed.help) std::fputs(sim::kGpsUsage, stdout);
        if (parsed.help) std::fputs(sim::kPlanUsage, stdout);
        if (parsed.help) std::fputs(sim::kDescribeUsage, stdout);
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
        std::fputs(Printf("%9.3f %s\n", clock.elapsed() / 1000.0, line.c_str()).c_str(), stdout);
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
    sim::GpsWriter gpsWriter;
    QTimer gpsTimer;
    if (gps && !StartGps(*gps, path, gpsWriter, gpsTimer, clock)) return 1;
    // With the GPS the heads see the seabed targets from where the GPS puts the vessel.
    if (gps) {
        server.World().FollowPath(path, gps->speedKnots,
                                  [&clock] { return clock.elapsed() / 1000.0; });
    }
    QObject::connect(&server, &SimServer::FaultsEnded, [] {
        std::fprintf(stderr, "sonvara-headsim: faults ended\n");
        std::fflush(stderr);
    });
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
