#include "export/ContactTexts.h"

#include "common/TextEncoding.h"
#include "common/TextFormat.h"
#include "export/GeoTexts.h"

namespace svx {

namespace {

std::string Metres(const std::optional<double>& value) {
    return value ? Printf("%.1f m", *value) : std::string("not known");
}

std::string DecimalDegrees(const Contact& c) {
    if (!c.latitude || !c.longitude) return "no position";
    return Printf("%.7f, %.7f", *c.latitude, *c.longitude);
}

std::string SideAndAcross(const Contact& c) {
    if (!c.acrossM) return SideName(c);
    return std::string(SideName(c)) + ", " + Printf("%.1f m", *c.acrossM);
}

std::string Optional(const std::optional<double>& value, const char* format) {
    return value ? Printf(format, *value) : std::string();
}

void AppendJsonProperty(std::string& out, const char* name, const std::string& json) {
    out.append("\"").append(name).append("\": ").append(json);
}

std::string JsonNumber(const std::optional<double>& value, const char* format) {
    return value ? Printf(format, *value) : std::string("null");
}

}  // namespace

const char* SideName(const Contact& c) {
    return c.starboard ? "starboard" : "port";
}

std::string UtmText(const Contact& c) {
    if (!c.utm) return "no position";
    return Printf("E %.1f m, N %.1f m, zone %d%c", c.utm->easting, c.utm->northing, c.utm->zone,
                  c.utm->south ? 'S' : 'N');
}

std::vector<ContactField> ContactFields(const Contact& c) {
    std::string heading = c.headingDeg ? Printf("%.1f", *c.headingDeg) + "\u00B0" : "not known";
    return {
        {"Contact", std::to_string(c.number)},
        {"File", Utf8OrLatin1(c.file)},
        {"Event", std::to_string(c.event)},
        {"Ping", std::to_string(c.ping)},
        {"Time (UTC)", c.time},
        {"Position", ShownPosition(c)},
        {"Decimal degrees", DecimalDegrees(c)},
        {"UTM", UtmText(c)},
        {"Side, across-track", SideAndAcross(c)},
        {"Altitude", Metres(c.altitudeM)},
        {"Heading", heading},
        {"Annotation", Utf8OrLatin1(c.annotation)},
    };
}

std::string ReportSummary(const ReportContent& content) {
    const std::size_t n = content.contacts.size(), files = content.recordings.size();
    return std::to_string(n) + (n == 1 ? " contact in " : " contacts in ") + std::to_string(files) +
           (files == 1 ? " recording: " : " recordings: ");
}

std::string ContactsCsv(const std::vector<Contact>& contacts) {
    std::string out = CsvLine({"number", "file", "event", "ping", "time_utc", "position",
                               "latitude", "longitude", "utm_easting", "utm_northing", "utm_zone",
                               "side", "across_m", "altitude_m", "heading_deg", "annotation"});
    for (const Contact& c : contacts) {
        const std::string zone =
            c.utm ? Printf("%d%c", c.utm->zone, c.utm->south ? 'S' : 'N') : std::string();
        out += CsvLine({std::to_string(c.number), Utf8OrLatin1(c.file), std::to_string(c.event),
                        std::to_string(c.ping), c.time, ShownPosition(c),
                        Optional(c.latitude, "%.7f"), Optional(c.longitude, "%.7f"),
                        c.utm ? Printf("%.2f", c.utm->easting) : std::string(),
                        c.utm ? Printf("%.2f", c.utm->northing) : std::string(), zone, SideName(c),
                        Optional(c.acrossM, "%.2f"), Optional(c.altitudeM, "%.2f"),
                        Optional(c.headingDeg, "%.1f"), Utf8OrLatin1(c.annotation)});
    }
    return out;
}

std::string JsonString(const std::string& text) {
    const std::string utf8 = Utf8OrLatin1(text);
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto u = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (u < 0x20) {
            out += Printf("\\u%04x", u);
        } else {
            out.push_back(ch);
        }
    }
    return out + "\"";
}

std::string ContactsGeoJson(const std::vector<Contact>& contacts) {
    std::string out = "{\"type\": \"FeatureCollection\", \"features\": [";
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        const Contact& c = contacts[i];
        out += i == 0 ? "\n" : ",\n";
        out += "{\"type\": \"Feature\", \"geometry\": ";
        if (c.latitude && c.longitude) {
            out += Printf("{\"type\": \"Point\", \"coordinates\": [%.7f, %.7f]}", *c.longitude,
                          *c.latitude);
        } else {
            out += "null";
        }
        out += ", \"properties\": {";
        AppendJsonProperty(out, "number", std::to_string(c.number));
        out += ", ";
        AppendJsonProperty(out, "file", JsonString(c.file));
        out += ", ";
        AppendJsonProperty(out, "event", std::to_string(c.event));
        out += ", ";
        AppendJsonProperty(out, "ping", std::to_string(c.ping));
        out += ", ";
        AppendJsonProperty(out, "time_utc", JsonString(c.time));
        out += ", ";
        AppendJsonProperty(out, "side", JsonString(SideName(c)));
        out += ", ";
        AppendJsonProperty(out, "across_m", JsonNumber(c.acrossM, "%.2f"));
        out += ", ";
        AppendJsonProperty(out, "altitude_m", JsonNumber(c.altitudeM, "%.2f"));
        out += ", ";
        AppendJsonProperty(out, "heading_deg", JsonNumber(c.headingDeg, "%.1f"));
        out += ", ";
        AppendJsonProperty(out, "annotation", JsonString(c.annotation));
        out += "}}";
    }
    return out + "\n]}\n";
}

}  // namespace svx
