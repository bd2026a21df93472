// sonvara-headsim --plan as a process: its GPS on a real pseudo-terminal reports the vessel on
// the plan's first line, --describe lists targets beside the plan's lines, and a plan it
// cannot sail ends it at once with one message and exit status 2.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include <cmath>
#include <fstream>

#include "ProcessSupport.h"
#include "gps/NmeaDecode.h"
#include "survey/LineGenerator.h"
#include "survey/LineGeometry.h"
#include "survey/PlanFiles.h"

namespace {

// Four lines of 400 m, 80 m apart, the first sailed north-east.
std::vector<survey::SurveyLine> Plan() {
    const survey::GeoPoint start{57.70, 11.85};
    const survey::SurveyLine first{"Line", {start, survey::Travel(start, 40.0, 400.0)}};
    return survey::ParallelLines({first, 80.0, 4, survey::Side::Port, true});
}

std::string InDir(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(name).toStdString();
}

std::string WritePlan(const QTemporaryDir& dir) {
    const std::string file = InDir(dir, "plan.gpx");
    std::ofstream(file, std::ios::binary) << survey::PlanGpx(Plan());
    return file;
}

double Signed(const NmeaCoordinate& c) {
    return c.hemisphere == 'S' || c.hemisphere == 'W' ? -c.degrees : c.degrees;
}

TEST(SimPlanProcessTest, GpsReportsTheVesselOnThePlansFirstLine) {
    QTemporaryDir dir;
    const std::string plan = WritePlan(dir);
    Simulator sim({"--fast", "--addresses", "127.77.66.2,127.77.66.3,127.77.66.4,127.77.66.5",
                   "--gps", "pty", "--rate", "5", "--speed", "8", "--plan",
                   QString::fromStdString(plan), "--duration", "60"});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    const QString device = sim.GpsDevice();
    ASSERT_FALSE(device.isEmpty()) << sim.error.toStdString();
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0) << device.toStdString();
    std::string pending;
    std::vector<NmeaValues> fixes;
    std::vector<std::string> sentences;
    const bool enough = RunUntil(
        [&] {
            char buffer[512];
            for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) pending.append(buffer, n);
            for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
                sentences.push_back(pending.substr(0, end));
                pending.erase(0, end + 1);
                const NmeaValues v = DecodeNmea(sentences.back());
                if (v.type == NmeaType::Rmc && v.latitude && v.longitude) fixes.push_back(v);
            }
            return fixes.size() >= 8;
        },
        20000);
    ::close(fd);
    ASSERT_TRUE(enough) << fixes.size() << " fixes in " << sentences.size() << " sentences";
    const survey::SurveyLine first = Plan().front();
    const double bearing = survey::BearingDeg(first.points[0], first.points[1]);
    for (const NmeaValues& fix : fixes) {
        const survey::LinePosition at =
            survey::Locate(first, {Signed(*fix.latitude), Signed(*fix.longitude)});
        // The steering error and the 0.0001' of the sentence's coordinates (0.2 m).
        EXPECT_LE(std::fabs(at.crossTrackM), 5.0 + 0.3) << at.crossTrackM;
        EXPECT_GE(at.alongTrackM, -0.3);
        EXPECT_LE(at.alongTrackM, at.lengthM);
        ASSERT_TRUE(fix.courseDeg);
        // The vessel's course swings with its steering, within a few degrees of the line's.
        const double off = std::fabs(std::remainder(*fix.courseDeg - bearing, 360.0));
        EXPECT_LT(off, 20.0) << *fix.courseDeg;
    }
}

TEST(SimPlanProcessTest, DescribeListsTargetsBesideThePlansLines) {
    QTemporaryDir dir;
    const std::string plan = WritePlan(dir);
    const ProgramRun run =
        RunProgram(SONVARA_HEADSIM_PATH, {"--describe", "--plan", QString::fromStdString(plan)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QRegularExpression line(R"(target \d+: ([\d.]+) N ([\d.]+) E, )");
    const std::vector<survey::SurveyLine> lines = Plan();
    int count = 0;
    for (auto it = line.globalMatch(QString::fromUtf8(run.out)); it.hasNext(); ++count) {
        const auto match = it.next();
        const survey::GeoPoint at{match.captured(1).toDouble(), match.captured(2).toDouble()};
        double nearest = 1e9;
        for (const survey::SurveyLine& l : lines)
            nearest = std::min(nearest, std::fabs(survey::Locate(l, at).crossTrackM));
        EXPECT_LT(nearest, 40.0) << match.captured(0).toStdString();
    }
    EXPECT_GE(count, static_cast<int>(lines.size()));
}

TEST(SimPlanProcessTest, APlanItCannotSailEndsItWithOneMessage) {
    QTemporaryDir dir;
    std::ofstream(InDir(dir, "bad.csv")) << "name,lat1,lon1,lat2,lon2\nA,57.7,11.85,57.71\n";
    const QString good = QString::fromStdString(WritePlan(dir));
    const QString bad = QString::fromStdString(InDir(dir, "bad.csv"));
    const struct {
        QStringList args;
        QString message;
    } cases[] = {
        {{"--gps", "pty", "--plan", bad}, bad + ":2: "},
        {{"--describe", "--plan", bad}, bad + ":2: "},
        {{"--gps", "pty", "--plan", QString::fromStdString(InDir(dir, "none.kml"))},
         QString::fromStdString(InDir(dir, "none.kml")) + ": "},
        {{"--plan", good}, "--plan needs --gps"},
        {{"--gps", "pty", "--plan"}, "--plan wants a plan file"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram(SONVARA_HEADSIM_PATH, c.args, 20000);
        const QString err = QString::fromUtf8(run.err);
        EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString() << err.toStdString();
        EXPECT_TRUE(err.startsWith("sonvara-headsim: " + c.message)) << err.toStdString();
        EXPECT_FALSE(err.contains("ready")) << err.toStdString();
    }
    const ProgramRun help = RunProgram(SONVARA_HEADSIM_PATH, {"--help"});
    EXPECT_TRUE(help.out.contains("--plan FILE")) << help.out.toStdString();
}

}  // namespace
