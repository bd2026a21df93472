#pragma once
// The exports of positions that `track` and `events` share: CSV with a header row, GPX 1.1 (a
// track of points, or waypoints) and KML 2.2 (a LineString, or placemarks) as GIS tools read
// them. Numbers are written without the C library's locale; text is UTF-8 (bytes that are not
// UTF-8 are taken as Latin-1) and escaped for XML.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace svx {

enum class GeoFormat { Csv, Gpx, Kml };

// One position of an export: signed decimal degrees, the UTC time in ISO 8601
// ("2026-12-09T12:35:19.250Z", empty when unknown), a name and a description (waypoints and
// placemarks only).
struct GeoPoint {
    double latitude = 0.0;
    double longitude = 0.0;
    std::string time;
    std::string name;
    std::string description;
};

// "yyyy-mm-ddThh:mm:ss[.sss]Z" of a date ("yyyy-mm-dd") and a time ("hh:mm:ss[.sss]"); empty
// when either is missing.
std::string IsoUtcTime(std::string_view date, std::string_view time);

// A value with a fixed number of decimals, always with a decimal point.
std::string Decimals(double value, int decimals);
// An optional value, empty when there is none.
std::string Decimals(const std::optional<double>& value, int decimals);

// A CSV line (ended by a line feed): fields with a comma, a quote or a line break are quoted.
std::string CsvLine(const std::vector<std::string>& fields);

// The track documents in pieces, for writers that stream them point by point: the start,
// one piece a point, the end. A KML LineString holds its placemark only when it has points:
// its start and end come with the first point and before the document's end.
void AppendGpxTrackStart(std::string& out, std::string_view name);
void AppendGpxTrackPoint(std::string& out, double latitude, double longitude,
                         std::string_view isoTime);
void AppendGpxTrackEnd(std::string& out);
void AppendKmlDocumentStart(std::string& out, std::string_view name);
void AppendKmlLineStart(std::string& out, std::string_view name);
void AppendKmlLinePoint(std::string& out, double latitude, double longitude);
void AppendKmlLineEnd(std::string& out);
void AppendKmlDocumentEnd(std::string& out);

// Decimals, IsoUtcTime, a CSV field and XmlText appended to out.
void AppendDecimals(std::string& out, double value, int decimals);
void AppendIsoUtcTime(std::string& out, std::string_view date, std::string_view time);
void AppendCsvField(std::string& out, std::string_view field);
void AppendXmlText(std::string& out, std::string_view text);

// A GPX document of routes, one route a piece: the start, each route's start, its points and
// its end, then the end.
void AppendGpxDocumentStart(std::string& out);
void AppendGpxRouteStart(std::string& out, std::string_view name);
void AppendGpxRoutePoint(std::string& out, double latitude, double longitude);
void AppendGpxRouteEnd(std::string& out);
void AppendGpxDocumentEnd(std::string& out);

std::string GpxTrack(const std::vector<GeoPoint>& points, std::string_view name);
std::string GpxWaypoints(const std::vector<GeoPoint>& points, std::string_view name);
std::string KmlLineString(const std::vector<GeoPoint>& points, std::string_view name);
std::string KmlPlacemarks(const std::vector<GeoPoint>& points, std::string_view name);

// Text made fit for XML character data and attributes: UTF-8, markup characters escaped,
// control characters (which XML 1.0 does not allow) as blanks.
std::string XmlText(std::string_view text);

// Writes text to the file; false with "cannot write PATH: reason", and a half-written file
// removed.
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);

}  // namespace svx
