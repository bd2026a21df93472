// The track of an NMEA log written while the log is read: the same bytes as the whole log
// decoded line by line and written at once, whatever the sizes of the reads and writes; no
// output without a fix; nothing half-written left behind.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "common/TextFormat.h"
#include "export/LogTrack.h"
#include "export/PositionExports.h"
#include "gps/NmeaTestSupport.h"

namespace {

// A log as loggers write them: CR LF, LF and CR line ends, blanks around lines, lines that are
// no receiver's sentence, a line longer than a sentence slot with blanks where it is cut, fixes
// without a fix, a fix repeated, every hemisphere, and a last line without its line end.
std::string VariedLog() {
    std::string log = "  # logger started \t\r\n\r\n";
    for (int second = 0; second < 40; ++second) {
        const std::string time = Printf("1235%02d.%d0", second, second % 10);
        const char* ns = second % 3 == 0 ? "S" : "N";
        const char* ew = second % 4 == 0 ? "W" : "E";
        const char* status = second % 7 == 3 ? "V" : "A";
        const std::string minutes = Printf("%06.3f", 7.0 + second * 0.01);
        log += Nmea("GPRMC," + time + "," + status + ",48" + minutes + "," + ns + ",011" +
                    minutes + "," + ew + ",5.5,054.7,230394,,");
        std::string gga = Nmea("GNGGA," + time + ",48" + minutes + "," + ns + ",011" + minutes +
                               "," + ew + ",1,08,0.9,545.4,M,46.9,M,,");
        if (second % 5 == 1) gga.replace(gga.size() - 2, 2, "\n");
        if (second % 5 == 2) gga.replace(gga.size() - 2, 2, "\r");
        if (second % 6 == 4) gga = " \t" + gga.substr(0, gga.size() - 2) + "   \r\n";
        log += gga;
        if (second % 8 == 5) log += Nmea("HEHDT,123.0,T") + Nmea("PGRME,15.0,M,45.0,M,25.0,M");
        if (second % 9 == 2) log += gga;  // the same fix again
    }
    // A wrong checksum beyond the slot's end is cut off (the sentence is decoded); one within
    // it is not.
    log += "$GPGLL,4807.900,N,01131.900,E,123600,A" + std::string(70, ' ') + "*00\r\n";
    log += "$GPGLL,4807.910,N,01131.910,E,123600.5,A" + std::string(50, ' ') + "*00\r\n";
    log += Nmea("GPRMC,123601,A,4807.950,N,01131.950,E,5.5,054.7,230394,,");
    log += Nmea("GPGGA,123602,4807.960,N,01131.960,E,1,08,0.9,545.4,M,46.9,M,,").substr(0, 60);
    return log;
}

// The fixes of the log split into lines in memory, each line through AddLogLine.
TrackFixCollector InMemory(const std::string& log) {
    TrackFixCollector collector;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find_first_of("\r\n", start);
        if (end == std::string::npos) end = log.size();
        collector.AddLogLine(std::string_view(log).substr(start, end - start));
        start = end + 1;
    }
    return collector;
}

// The whole export built from GeoPoints, independently of the streaming writer.
std::string Expected(const std::vector<TrackFix>& fixes, svx::GeoFormat format) {
    std::vector<svx::GeoPoint> points;
    for (const TrackFix& fix : fixes) {
        points.push_back({fix.latitude, fix.longitude, svx::IsoUtcTime(fix.date, fix.time), {}, {}});
    }
    switch (format) {
        case svx::GeoFormat::Gpx:
            return svx::GpxTrack(points, "log");
        case svx::GeoFormat::Kml:
            return svx::KmlLineString(points, "log");
        case svx::GeoFormat::Csv:
            break;
    }
    return svx::TrackExport(fixes, format, "log");
}

TEST(LogTrackTest, StreamedExportIsTheWholeLogsExport) {
    TempDir dir;
    const std::string log = VariedLog();
    TempDir::WriteText(dir.File("log.nmea"), log);
    const TrackFixCollector whole = InMemory(log);
    ASSERT_GE(whole.Fixes().size(), 30u);
    ASSERT_GE(whole.WithoutFix(), 3);
    ASSERT_EQ(whole.Fixes()[whole.Fixes().size() - 3].time, "12:36:00.000");
    ASSERT_EQ(whole.Fixes().back().time, "12:36:02.000");
    const std::size_t readSizes[] = {1, 2, 3, 7, 61, 100, 101, 4096, std::size_t{1} << 20};
    for (const svx::GeoFormat format :
         {svx::GeoFormat::Gpx, svx::GeoFormat::Kml, svx::GeoFormat::Csv}) {
        const std::string expected = Expected(whole.Fixes(), format);
        for (const std::size_t readBytes : readSizes) {
            for (const std::size_t writeBytes : {std::size_t{1}, std::size_t{1} << 18}) {
                SCOPED_TRACE("format " + std::to_string(static_cast<int>(format)) + ", reads of " +
                             std::to_string(readBytes) + ", writes of " +
                             std::to_string(writeBytes));
                const svx::LogTrackReport report = svx::ExportLogTrack(
                    dir.File("log.nmea"), dir.File("out"), format, "log", {readBytes, writeBytes});
                EXPECT_EQ(report.error, "");
                EXPECT_EQ(report.points, whole.Fixes().size());
                EXPECT_EQ(report.withoutFix, whole.WithoutFix());
                EXPECT_EQ(TempDir::ReadText(dir.File("out")), expected);
            }
        }
    }
}

TEST(LogTrackTest, ALogWithoutAFixCreatesNoOutput) {
    TempDir dir;
    TempDir::WriteText(dir.File("log.nmea"),
                       "no sentences\n" + Nmea("GPRMC,123519,V,4807.038,N,01131.000,E,,,230394,,"));
    // An earlier export of the same name stays as it was.
    TempDir::WriteText(dir.File("kept.gpx"), "earlier");
    const svx::LogTrackReport report = svx::ExportLogTrack(
        dir.File("log.nmea"), dir.File("kept.gpx"), svx::GeoFormat::Gpx, "log");
    EXPECT_EQ(report.error, "");
    EXPECT_EQ(report.points, 0u);
    EXPECT_EQ(report.withoutFix, 1);
    EXPECT_EQ(TempDir::ReadText(dir.File("kept.gpx")), "earlier");
}

TEST(LogTrackTest, LogsThatCannotBeReadAndOutputsThatCannotBeWritten) {
    TempDir dir;
    const std::string log = dir.File("log.nmea");
    TempDir::WriteText(log, VariedLog());
    struct Case {
        std::string log, out;
        std::string error;
    };
    const Case cases[] = {
        {dir.File("missing.nmea"), dir.File("a.csv"),
         "cannot open " + dir.File("missing.nmea") + ": No such file or directory"},
        {dir.path, dir.File("b.csv"), dir.path + " is a directory"},
        {log, "/dev/full", "cannot write /dev/full: the disk is full"},
        {log, dir.File("no/such/dir.csv"),
         "cannot write " + dir.File("no/such/dir.csv") + ": No such file or directory"},
        // Writing over the log being read would destroy it.
        {log, log, "cannot write " + log + ": it is the log being read"},
    };
    for (const Case& c : cases) {
        const svx::LogTrackReport report =
            svx::ExportLogTrack(c.log, c.out, svx::GeoFormat::Csv, "log", {64, 64});
        EXPECT_EQ(report.error, c.error) << c.out;
    }
    EXPECT_EQ(TempDir::ReadText(log), VariedLog());
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.csv")));
}

TEST(LogTrackTest, AWriteThatFailsHalfWayRemovesTheOutput) {
    TempDir dir;
    std::string log;
    for (int i = 0; i < 15000; ++i) {
        log += Nmea(Printf("GPGGA,12%02d%02d,4807.%03d,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
                           i / 60 % 60, i % 60, i % 1000));
    }
    TempDir::WriteText(dir.File("log.nmea"), log);
    // Files of this process may grow to 4 KiB; a write beyond fails with EFBIG instead of a
    // signal.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const svx::LogTrackReport report = svx::ExportLogTrack(
        dir.File("log.nmea"), dir.File("t.gpx"), svx::GeoFormat::Gpx, "log", {4096, 1024});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(report.error, "cannot write " + dir.File("t.gpx") + ": File too large");
    EXPECT_FALSE(std::filesystem::exists(dir.File("t.gpx")));
}

}  // namespace
