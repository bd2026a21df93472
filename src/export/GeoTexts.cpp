#include "export/GeoTexts.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "common/TextEncoding.h"
#include "export/OutputFile.h"

namespace svx {

namespace {

constexpr int kDegreeDecimals = 8;

void AppendCoordinates(std::string& out, double latitude, double longitude) {
    AppendDecimals(out, longitude, kDegreeDecimals);
    out += ',';
    AppendDecimals(out, latitude, kDegreeDecimals);
}

void AppendLatLonAttributes(std::string& out, double latitude, double longitude) {
    out += "lat=\"";
    AppendDecimals(out, latitude, kDegreeDecimals);
    out += "\" lon=\"";
    AppendDecimals(out, longitude, kDegreeDecimals);
    out += '"';
}

void AppendElement(std::string& out, std::string_view tag, std::string_view text) {
    out.append("<").append(tag).append(">");
    AppendXmlText(out, text);
    out.append("</").append(tag).append(">");
}

std::string Element(std::string_view tag, std::string_view text) {
    std::string out;
    AppendElement(out, tag, text);
    return out;
}

void AppendGpxHeader(std::string& out) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"Sonvara\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
}

// Text that XML takes as it is: printable ASCII without markup characters.
bool IsPlainXml(std::string_view text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7e || c == '&' || c == '<' || c == '>' || c == '"' || c == '\'') {
            return false;
        }
    }
    return true;
}

bool NeedsCsvQuotes(std::string_view field) {
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

std::string IsoUtcTime(std::string_view date, std::string_view time) {
    std::string iso;
    AppendIsoUtcTime(iso, date, time);
    return iso;
}

void AppendIsoUtcTime(std::string& out, std::string_view date, std::string_view time) {
    if (date.empty() || time.empty()) return;
    out.append(date).append("T").append(time).append("Z");
}

std::string Decimals(double value, int decimals) {
    std::string text;
    AppendDecimals(text, value, decimals);
    return text;
}

void AppendDecimals(std::string& out, double value, int decimals) {
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc()) out.append(text, result.ptr);
}

std::string Decimals(const std::optional<double>& value, int decimals) {
    return value ? Decimals(*value, decimals) : std::string();
}

void AppendCsvField(std::string& out, std::string_view field) {
    if (!NeedsCsvQuotes(field)) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        AppendCsvField(line, fields[i]);
    }
    return line + "\n";
}

void AppendXmlText(std::string& out, std::string_view text) {
    if (IsPlainXml(text)) {
        out += text;
        return;
    }
    for (const char c : Utf8OrLatin1(text)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
}

std::string XmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendXmlText(out, text);
    return out;
}

void AppendGpxTrackStart(std::string& out, std::string_view name) {
    AppendGpxHeader(out);
    out += "<trk>";
    AppendElement(out, "name", name);
    out += "\n<trkseg>\n";
}

void AppendGpxTrackPoint(std::string& out, double latitude, double longitude,
                         std::string_view isoTime) {
    out += "<trkpt ";
    AppendLatLonAttributes(out, latitude, longitude);
    out += ">";
    if (!isoTime.empty()) AppendElement(out, "time", isoTime);
    out += "</trkpt>\n";
}

void AppendGpxTrackEnd(std::string& out) {
    out += "</trkseg>\n</trk>\n</gpx>\n";
}

void AppendGpxDocumentStart(std::string& out) {
    AppendGpxHeader(out);
}

void AppendGpxRouteStart(std::string& out, std::string_view name) {
    out += "<rte>";
    AppendElement(out, "name", name);
    out += "\n";
}

void AppendGpxRoutePoint(std::string& out, double latitude, double longitude) {
    out += "<rtept ";
    AppendLatLonAttributes(out, latitude, longitude);
    out += "/>\n";
}

void AppendGpxRouteEnd(std::string& out) {
    out += "</rte>\n";
}

void AppendGpxDocumentEnd(std::string& out) {
    out += "</gpx>\n";
}

void AppendKmlDocumentStart(std::string& out, std::string_view name) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
    AppendElement(out, "name", name);
    out += "\n";
}

void AppendKmlLineStart(std::string& out, std::string_view name) {
    out += "<Placemark>";
    AppendElement(out, "name", name);
    out += "\n<LineString><tessellate>1</tessellate><coordinates>\n";
}

void AppendKmlLinePoint(std::string& out, double latitude, double longitude) {
    AppendCoordinates(out, latitude, longitude);
    out += "\n";
}

void AppendKmlLineEnd(std::string& out) {
    out += "</coordinates></LineString>\n</Placemark>\n";
}

void AppendKmlDocumentEnd(std::string& out) {
    out += "</Document>\n</kml>\n";
}

std::string GpxTrack(const std::vector<GeoPoint>& points, std::string_view name) {
    std::string gpx;
    AppendGpxTrackStart(gpx, name);
    for (const GeoPoint& p : points) AppendGpxTrackPoint(gpx, p.latitude, p.longitude, p.time);
    AppendGpxTrackEnd(gpx);
    return gpx;
}

std::string GpxWaypoints(const std::vector<GeoPoint>& points, std::string_view name) {
    std::string gpx;
    AppendGpxHeader(gpx);
    gpx += "<metadata>" + Element("name", name) + "</metadata>\n";
    for (const GeoPoint& p : points) {
        gpx += "<wpt ";
        AppendLatLonAttributes(gpx, p.latitude, p.longitude);
        gpx += ">";
        if (!p.time.empty()) gpx += Element("time", p.time);
        gpx += Element("name", p.name);
        if (!p.description.empty()) gpx += Element("desc", p.description);
        gpx += "</wpt>\n";
    }
    return gpx + "</gpx>\n";
}

std::string KmlLineString(const std::vector<GeoPoint>& points, std::string_view name) {
    std::string kml;
    AppendKmlDocumentStart(kml, name);
    if (!points.empty()) {
        AppendKmlLineStart(kml, name);
        for (const GeoPoint& p : points) AppendKmlLinePoint(kml, p.latitude, p.longitude);
        AppendKmlLineEnd(kml);
    }
    AppendKmlDocumentEnd(kml);
    return kml;
}

std::string KmlPlacemarks(const std::vector<GeoPoint>& points, std::string_view name) {
    std::string kml;
    AppendKmlDocumentStart(kml, name);
    for (const GeoPoint& p : points) {
        kml += "<Placemark>" + Element("name", p.name);
        if (!p.description.empty()) kml += Element("description", p.description);
        if (!p.time.empty()) kml += "<TimeStamp>" + Element("when", p.time) + "</TimeStamp>";
        kml += "<Point><coordinates>";
        AppendCoordinates(kml, p.latitude, p.longitude);
        kml += "</coordinates></Point></Placemark>\n";
    }
    AppendKmlDocumentEnd(kml);
    return kml;
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
    OutputFile file;
    return file.Open(path, error) && file.Write(text.data(), text.size(), error) &&
           file.Commit(error);
}

}  // namespace svx
