#include "export/TrackWriter.h"

#include "gps/Utm.h"

namespace svx {

namespace {

constexpr int kDegreeDecimals = 8;

void AppendOptional(std::string& out, const std::optional<double>& value, int decimals) {
    if (value) AppendDecimals(out, *value, decimals);
}

// time, date, latitude, longitude, speed, course, heading, UTM zone, easting, northing, ping.
void AppendCsvRow(std::string& out, const TrackFix& fix) {
    AppendCsvField(out, fix.time);
    out += ',';
    AppendCsvField(out, fix.date);
    out += ',';
    AppendDecimals(out, fix.latitude, kDegreeDecimals);
    out += ',';
    AppendDecimals(out, fix.longitude, kDegreeDecimals);
    out += ',';
    AppendOptional(out, fix.speedKnots, 2);
    out += ',';
    AppendOptional(out, fix.courseDeg, 2);
    out += ',';
    AppendOptional(out, fix.headingDeg, 2);
    out += ',';
    // Outside UTM's latitudes the grid columns stay empty rather than hold wrong figures.
    if (InUtmLatitudes(fix.latitude)) {
        const UtmPosition utm = LatLonToUtm(fix.latitude, fix.longitude);
        out += std::to_string(utm.zone);
        out += ',';
        AppendDecimals(out, utm.easting, 3);
        out += ',';
        AppendDecimals(out, utm.northing, 3);
    } else {
        out += ",,";
    }
    out += ',';
    if (fix.ping) out += std::to_string(*fix.ping);
    out += '\n';
}

}  // namespace

std::string TrackCsvHeader() {
    return "time,date,latitude,longitude,speed_kn,course_deg,heading_deg,utm_zone,easting,"
           "northing,ping";
}

void TrackWriter::Start(std::string& out) const {
    switch (format) {
        case GeoFormat::Gpx:
            AppendGpxTrackStart(out, name);
            break;
        case GeoFormat::Kml:
            AppendKmlDocumentStart(out, name);
            break;
        case GeoFormat::Csv:
            out += TrackCsvHeader();
            out += '\n';
            break;
    }
}

void TrackWriter::Add(const TrackFix& fix, std::string& out) {
    switch (format) {
        case GeoFormat::Gpx:
            isoTime.clear();
            AppendIsoUtcTime(isoTime, fix.date, fix.time);
            AppendGpxTrackPoint(out, fix.latitude, fix.longitude, isoTime);
            break;
        case GeoFormat::Kml:
            if (!anyFix) AppendKmlLineStart(out, name);
            AppendKmlLinePoint(out, fix.latitude, fix.longitude);
            break;
        case GeoFormat::Csv:
            AppendCsvRow(out, fix);
            break;
    }
    anyFix = true;
}

void TrackWriter::End(std::string& out) const {
    switch (format) {
        case GeoFormat::Gpx:
            AppendGpxTrackEnd(out);
            break;
        case GeoFormat::Kml:
            if (anyFix) AppendKmlLineEnd(out);
            AppendKmlDocumentEnd(out);
            break;
        case GeoFormat::Csv:
            break;
    }
}

}  // namespace svx
