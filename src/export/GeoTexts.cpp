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

std::string Coordinates(const GeoPoint& p) {
    return Decimals(p.longitude, kDegreeDecimals) + "," + Decimals(p.latitude, kDegreeDecimals);
}

std::string LatLonAttributes(const GeoPoint& p) {
    return "lat=\"" + Decimals(p.latitude, kDegreeDecimals) + "\" lon=\"" +
           Decimals(p.longitude, kDegreeDecimals) + "\"";
}

std::string Element(std::string_view tag, std::string_view text) {
    std::string out = "<";
    out.append(tag).append(">").append(XmlText(text)).append("</").append(tag).append(">");
    return out;
}

std::string GpxHeader() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"Sonvara\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
}

std::string KmlHeader(std::string_view name) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n" +
           Element("name", name) + "\n";
}

}  // namespace

std::string IsoUtcTime(std::string_view date, std::string_view time) {
    if (date.empty() || time.empty()) return {};
    std::string iso(date);
    iso.append("T").append(time).append("Z");
    return iso;
}

std::string Decimals(double value, int decimals) {
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ec == std::errc() ? result.ptr : text);
}

std::string Decimals(const std::optional<double>& value, int decimals) {
    return value ? Decimals(*value, decimals) : std::string();
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& field = fields[i];
        if (field.find_first_of(",\"\r\n") == std::string::npos) {
            line += field;
            continue;
        }
        line += '"';
        for (const char c : field) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    return line + "\n";
}

std::string XmlText(std::string_view text) {
    const std::string utf8 = Utf8OrLatin1(text);
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
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
    return out;
}

std::string GpxTrack(const std::vector<GeoPoint>& points, std::string_view name) {
    std::string gpx = GpxHeader();
    gpx += "<trk>" + Element("name", name) + "\n<trkseg>\n";
    for (const GeoPoint& p : points) {
        gpx += "<trkpt " + LatLonAttributes(p) + ">";
        if (!p.time.empty()) gpx += Element("time", p.time);
        gpx += "</trkpt>\n";
    }
    return gpx + "</trkseg>\n</trk>\n</gpx>\n";
}

std::string GpxWaypoints(const std::vector<GeoPoint>& points, std::string_view name) {
    std::string gpx = GpxHeader();
    gpx += "<metadata>" + Element("name", name) + "</metadata>\n";
    for (const GeoPoint& p : points) {
        gpx += "<wpt " + LatLonAttributes(p) + ">";
        if (!p.time.empty()) gpx += Element("time", p.time);
        gpx += Element("name", p.name);
        if (!p.description.empty()) gpx += Element("desc", p.description);
        gpx += "</wpt>\n";
    }
    return gpx + "</gpx>\n";
}

std::string KmlLineString(const std::vector<GeoPoint>& points, std::string_view name) {
    std::string kml = KmlHeader(name);
    if (!points.empty()) {
        kml += "<Placemark>" + Element("name", name) +
               "\n<LineString><tessellate>1</tessellate><coordinates>\n";
        for (const GeoPoint& p : points) kml += Coordinates(p) + "\n";
        kml += "</coordinates></LineString>\n</Placemark>\n";
    }
    return kml + "</Document>\n</kml>\n";
}

std::string KmlPlacemarks(const std::vector<GeoPoint>& points, std::string_view name) {
    std::string kml = KmlHeader(name);
    for (const GeoPoint& p : points) {
        kml += "<Placemark>" + Element("name", p.name);
        if (!p.description.empty()) kml += Element("description", p.description);
        if (!p.time.empty()) kml += "<TimeStamp>" + Element("when", p.time) + "</TimeStamp>";
        kml += "<Point><coordinates>" + Coordinates(p) + "</coordinates></Point></Placemark>\n";
    }
    return kml + "</Document>\n</kml>\n";
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
    OutputFile file;
    return file.Open(path, error) && file.Write(text.data(), text.size(), error) &&
           file.Commit(error);
}

}  // namespace svx
