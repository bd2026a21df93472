// The GPX and KML readers of plan files, on expat: element by element, keeping the XML line
// where each survey line begins for the messages.

#include <expat.h>

#include <cstring>
#include <optional>
#include <string_view>

#include "common/TextFormat.h"
#include "survey/PlanFiles.h"

namespace survey {

namespace {

enum class Dialect { Gpx, Kml };

class PlanParser {
public:
    PlanParser(Dialect dialect, const std::string& path) : dialect(dialect), path(path) {}

    PlanRead Parse(const std::string& text) {
        XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
        expat = parser;
        XML_SetUserData(parser, this);
        XML_SetElementHandler(parser, &PlanParser::Start, &PlanParser::End);
        XML_SetCharacterDataHandler(parser, &PlanParser::Text);
        const bool parsed = XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) ==
                            XML_STATUS_OK;
        if (!parsed && fault.empty()) {
            fault = Printf("%s:%lu: %s", path.c_str(), XML_GetCurrentLineNumber(parser),
                           XML_ErrorString(XML_GetErrorCode(parser)));
        }
        XML_ParserFree(parser);
        PlanRead read;
        if (!fault.empty()) {
            read.error = fault;
        } else if (lines.empty()) {
            read.error = path + (dialect == Dialect::Gpx ? ": holds no route or track"
                                                         : ": holds no LineString");
        } else {
            read.lines = std::move(lines);
        }
        return read;
    }

private:
    static std::string_view Local(const char* name) {
        const char* bar = std::strrchr(name, '|');
        return bar ? bar + 1 : name;
    }
    static void Start(void* data, const char* name, const char** attributes) {
        static_cast<PlanParser*>(data)->Opened(Local(name), attributes);
    }
    static void End(void* data, const char* name) {
        static_cast<PlanParser*>(data)->Closed(Local(name));
    }
    static void Text(void* data, const char* text, int length) {
        auto* self = static_cast<PlanParser*>(data);
        if (self->collecting) self->text.append(text, static_cast<std::size_t>(length));
    }

    unsigned long Line() const { return XML_GetCurrentLineNumber(expat); }

    void Fail(const std::string& what) {
        if (!fault.empty()) return;
        fault = Printf("%s:%lu: %s", path.c_str(), Line(), what.c_str());
        XML_StopParser(expat, XML_FALSE);
    }

    void Opened(std::string_view name, const char** attributes) {
        text.clear();
        collecting = name == "name" || name == "coordinates";
        if (dialect == Dialect::Gpx) {
            if (name == "rte" || name == "trk") {
                owner = std::string(name);
                ownerName.clear();
                segments = 0;
            }
            if (name == "rte" || name == "trkseg") BeginLine();
            if (name == "rtept" || name == "trkpt") GpxPoint(attributes);
        } else {
            if (name == "Placemark") {
                owner = "Placemark";
                ownerName.clear();
                segments = 0;
            }
            if (name == "LineString") BeginLine();
        }
    }

    void Closed(std::string_view name) {
        if (name == "name" && !owner.empty() && ownerName.empty()) ownerName = text;
        if (name == "coordinates" && line) KmlCoordinates(text);
        collecting = false;
        if (name == "rte" || name == "trkseg" || name == "LineString") FinishLine();
        if (name == "rte" || name == "trk" || name == "Placemark") owner.clear();
    }

    void BeginLine() {
        line.emplace();
        lineStart = Line();
    }

    void FinishLine() {
        if (!line) return;
        ++segments;
        line->name = ownerName.empty() ? "Line " + std::to_string(lines.size() + 1) : ownerName;
        if (segments > 1) line->name += " (" + std::to_string(segments) + ")";
        if (line->points.size() < 2) {
            fault = Printf("%s:%lu: line '%s' has %zu point%s (a line wants two)", path.c_str(),
                           lineStart, line->name.c_str(), line->points.size(),
                           line->points.size() == 1 ? "" : "s");
            XML_StopParser(expat, XML_FALSE);
        }
        lines.push_back(std::move(*line));
        line.reset();
    }

    void AddPoint(double latitude, double longitude) {
        if (const std::string problem = CoordinateFault(latitude, longitude); !problem.empty()) {
            Fail(problem);
            return;
        }
        line->points.push_back({latitude, longitude});
    }

    void GpxPoint(const char** attributes) {
        if (!line) return;
        std::optional<double> lat, lon;
        for (int i = 0; attributes[i]; i += 2) {
            if (std::strcmp(attributes[i], "lat") == 0) lat = ParseNumber(attributes[i + 1]);
            if (std::strcmp(attributes[i], "lon") == 0) lon = ParseNumber(attributes[i + 1]);
        }
        if (!lat || !lon) return Fail("a point without a readable lat and lon");
        AddPoint(*lat, *lon);
    }

    // "lon,lat[,alt]" tuples separated by white space.
    void KmlCoordinates(const std::string& tuples) {
        std::size_t at = 0;
        while (fault.empty()) {
            at = tuples.find_first_not_of(" \t\r\n", at);
            if (at == std::string::npos) return;
            const std::size_t end = std::min(tuples.find_first_of(" \t\r\n", at), tuples.size());
            const std::string_view tuple(tuples.data() + at, end - at);
            at = end;
            const std::size_t comma = tuple.find(',');
            const std::size_t next = comma == std::string_view::npos ? comma : tuple.find(',', comma + 1);
            const auto lon = ParseNumber(tuple.substr(0, comma));
            const auto lat = comma == std::string_view::npos
                                 ? std::nullopt
                                 : ParseNumber(tuple.substr(comma + 1, next == std::string_view::npos
                                                                           ? std::string_view::npos
                                                                           : next - comma - 1));
            if (!lon || !lat) return Fail("'" + std::string(tuple) + "' is not lon,lat[,alt]");
            AddPoint(*lat, *lon);
        }
    }

    Dialect dialect;
    const std::string& path;
    XML_Parser expat = nullptr;
    std::vector<SurveyLine> lines;
    std::optional<SurveyLine> line;
    unsigned long lineStart = 0;
    std::string owner, ownerName;  // the route, track or placemark and its name
    int segments = 0;              // lines of the owner so far
    std::string text;
    bool collecting = false;
    std::string fault;
};

}  // namespace

PlanRead ReadGpxPlan(const std::string& text, const std::string& path) {
    return PlanParser(Dialect::Gpx, path).Parse(text);
}

PlanRead ReadKmlPlan(const std::string& text, const std::string& path) {
    return PlanParser(Dialect::Kml, path).Parse(text);
}

}  // namespace survey
