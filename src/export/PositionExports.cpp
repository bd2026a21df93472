#include "export/PositionExports.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "common/RegularFile.h"
#include "datafiles/DataFileNames.h"
#include "export/PingNavigation.h"
#include "gps/NavigationTextParse.h"

namespace svx {

namespace {

std::string Degrees(const std::optional<double>& value) {
    return value ? Decimals(*value, 8) : std::string();
}

std::string Text(const std::string& stored) {
    return std::string(TrimmedText(stored));
}

std::string StemOf(const std::string& path) {
    return std::filesystem::path(path).stem().string();
}

}  // namespace

std::string TrackExport(const std::vector<TrackFix>& fixes, GeoFormat format,
                        const std::string& name) {
    TrackWriter writer(format, name);
    std::string out;
    writer.Start(out);
    for (const TrackFix& fix : fixes) writer.Add(fix, out);
    writer.End(out);
    return out;
}

ExportReport CollectDataFileTrack(const std::string& path, TrackFixCollector& collector,
                                  const ExportProgress& progress) {
    ExportReport report;
    NavigationDecoder decoder;
    const bool walked = WalkDataFile(
        path,
        [&](std::uint64_t, const RecordView& record) {
            const PingNavigation nav = decoder.Decode(record);
            collector.AddBatch(decoder.SentenceValues(), decoder.Values(),
                               BatchRecord{static_cast<std::int64_t>(nav.ping), nav.gpsSentences});
            ++report.records;
            return true;
        },
        progress, report);
    if (walked && !report.cancelled && report.records == 0) {
        report.error = path + " holds no record";
    }
    return report;
}

std::string EventsCsvHeader() {
    return "number,ping,date,time,latitude,longitude,across,annotation";
}

std::string EventsExport(const EventList& events, GeoFormat format, const std::string& name,
                         int& leftOut, const PositionAtPing& positionAt) {
    leftOut = 0;
    std::string csv = EventsCsvHeader() + "\n";
    std::vector<GeoPoint> points;
    for (int i = 0; i < events.count; ++i) {
        const EventRecord& e = events.entries[static_cast<std::size_t>(i)];
        std::optional<double> latitude = ParseCoordinateText(e.latitude, true);
        std::optional<double> longitude = ParseCoordinateText(e.longitude, false);
        if ((!latitude || !longitude) && positionAt) {
            if (const std::optional<PingPosition> at = positionAt(e.pingNumber)) {
                latitude = at->latitude;
                longitude = at->longitude;
            }
        }
        const bool placed = latitude && longitude;
        csv += CsvLine({std::to_string(e.number), std::to_string(e.pingNumber), Text(e.date),
                        Text(e.time), Degrees(latitude), Degrees(longitude),
                        Decimals(e.acrossFraction, 6), Text(e.annotation)});
        if (!placed) {
            ++leftOut;
            continue;
        }
        GeoPoint p;
        p.latitude = *latitude;
        p.longitude = *longitude;
        p.name = "Event " + std::to_string(e.number);
        if (Text(e.annotation) != "n/a") p.description = Text(e.annotation);
        points.push_back(std::move(p));
    }
    switch (format) {
        case GeoFormat::Gpx:
            return GpxWaypoints(points, name);
        case GeoFormat::Kml:
            return KmlPlacemarks(points, name);
        case GeoFormat::Csv:
            break;
    }
    leftOut = 0;  // the CSV has every event
    return csv;
}

EventFileRead ReadEventFile(const std::string& path, EventList& events) {
    EventFileRead result;
    events.count = 0;
    std::error_code ec;
    if (std::filesystem::symlink_status(path, ec).type() == std::filesystem::file_type::not_found) {
        // A recording on which no event was ever marked may have no event file.
        result.read = true;
        result.missing = true;
        result.problem = path + " does not exist: the recording has no events";
        return result;
    }
    const int fd = OpenRegularFile(path, O_RDONLY, result.problem);
    if (fd < 0) return result;
    int readError = 0;
    const EventFileReading reading = ReadEventText(
        [fd, &readError](char* buffer, std::size_t size) -> std::size_t {
            for (;;) {
                const ssize_t n = ::read(fd, buffer, size);
                if (n >= 0) return static_cast<std::size_t>(n);
                if (errno == EINTR) continue;
                readError = errno;
                return 0;
            }
        },
        events);
    ::close(fd);
    if (readError != 0) {
        result.problem = "cannot read " + path + ": " + std::strerror(readError);
        return result;
    }
    result.read = true;
    result.complete = reading.status == EventParse::Complete;
    if (!result.complete) {
        const std::string kept = reading.status == EventParse::Full
                                     ? "the first 100 events are exported"
                                     : "the " + std::to_string(events.count) +
                                           (events.count == 1 ? " event before it is exported"
                                                              : " events before it are exported");
        result.problem = path + ", " + reading.Where() + "; " + kept;
    }
    return result;
}

ExportReport ExportTrack(const std::string& dataFile, const std::string& out, GeoFormat format,
                         const ExportProgress& progress) {
    TrackFixCollector collector;
    ExportReport report = CollectDataFileTrack(dataFile, collector, progress);
    report.withoutFix = static_cast<std::uint64_t>(collector.WithoutFix());
    if (!report.Ok()) return report;
    if (const std::string gaps = collector.Gaps().Note(); !gaps.empty()) {
        report.notes.push_back(gaps);
    }
    if (collector.Fixes().empty()) {
        report.error = "no position fix in " + dataFile;
        return report;
    }
    if (WriteTextFile(out, TrackExport(collector.Fixes(), format, StemOf(dataFile)),
                      report.error)) {
        report.points = collector.Fixes().size();
    }
    return report;
}

ExportReport ExportEvents(const std::string& dataFile, const std::string& out, GeoFormat format) {
    ExportReport report;
    EventList events;
    const EventFileRead read = ReadEventFile(EventFileNameFor(dataFile), events);
    if (!read.read) {
        report.error = read.problem;
        return report;
    }
    if (!read.complete || read.missing) report.notes.push_back(read.problem);
    int leftOut = 0;
    if (WriteTextFile(out, EventsExport(events, format, StemOf(dataFile), leftOut), report.error)) {
        report.points = static_cast<std::uint64_t>(events.count);
        report.withoutFix = static_cast<std::uint64_t>(leftOut);
    }
    return report;
}

}  // namespace svx
