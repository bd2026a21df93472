#include "survey/PlanFiles.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

#include "common/TextFormat.h"
#include "export/GeoTexts.h"
#include "export/OutputFile.h"

namespace survey {

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Ending(const std::string& path) {
    return Lower(std::filesystem::path(path).extension().string());
}

bool ReadText(const std::string& path, std::string& text, std::string& error) {
    std::error_code code;
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    if (code) {
        error = path + ": " + code.message();
        return false;
    }
    if (size > kLargestPlanFileBytes) {
        error = Printf("%s: %.1f MB is too large for a plan (at most %llu MB)", path.c_str(),
                       static_cast<double>(size) / (1u << 20),
                       static_cast<unsigned long long>(kLargestPlanFileBytes >> 20));
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in && !in.eof()) {
        error = path + ": cannot be read";
        return false;
    }
    text = bytes.str();
    return true;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Splits a CSV line at its commas (the plan's fields are names and numbers: no quoting
// beyond a name in double quotes).
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return fields;
}

// The line of fields "name,lat,lon,lat,lon..." into `line`; the fault otherwise.
std::string CsvLineOf(const std::vector<std::string>& fields, SurveyLine& line) {
    if (fields.size() < 5) return "a line wants a name and at least two points (lat,lon)";
    if (fields.size() % 2 == 0) return "a point lacks its longitude";
    line.name = fields[0];
    for (std::size_t i = 1; i + 1 < fields.size(); i += 2) {
        const std::optional<double> lat = ParseNumber(Trimmed(fields[i]));
        const std::optional<double> lon = ParseNumber(Trimmed(fields[i + 1]));
        if (!lat || !lon) {
            return "'" + fields[i] + "," + fields[i + 1] + "' is not a latitude and longitude";
        }
        if (const std::string fault = CoordinateFault(*lat, *lon); !fault.empty()) return fault;
        line.points.push_back({*lat, *lon});
    }
    return {};
}

}  // namespace

std::string CoordinateFault(double latitude, double longitude) {
    if (!(std::fabs(latitude) <= 90)) return Printf("latitude %.6f is out of range", latitude);
    if (!(std::fabs(longitude) <= 180)) return Printf("longitude %.6f is out of range", longitude);
    return {};
}

PlanRead ReadPlan(const std::string& path) {
    PlanRead read;
    const std::string ending = Ending(path);
    if (ending != ".gpx" && ending != ".kml" && ending != ".csv") {
        read.error = path + ": a plan is a .gpx, .kml or .csv file";
        return read;
    }
    std::string text;
    if (!ReadText(path, text, read.error)) return read;
    if (ending == ".gpx") return ReadGpxPlan(text, path);
    if (ending == ".kml") return ReadKmlPlan(text, path);
    return ReadCsvPlan(text, path);
}

PlanRead ReadCsvPlan(const std::string& text, const std::string& path) {
    PlanRead read;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (line.find(';') != std::string::npos) {
            read.error = Printf("%s:%d: fields separated by ';' (numbers with a decimal comma?): "
                                "write name,lat,lon,... with decimal points",
                                path.c_str(), number);
            read.lines.clear();
            return read;
        }
        const std::vector<std::string> fields = Fields(line);
        // A heading line names its fields instead of giving numbers.
        if (number == 1 && fields.size() > 1 && !ParseNumber(Trimmed(fields[1]))) continue;
        SurveyLine parsed;
        if (const std::string fault = CsvLineOf(fields, parsed); !fault.empty()) {
            read.error = Printf("%s:%d: %s", path.c_str(), number, fault.c_str());
            read.lines.clear();
            return read;
        }
        read.lines.push_back(std::move(parsed));
    }
    if (read.lines.empty()) read.error = path + ": holds no survey line";
    return read;
}

std::string PlanGpx(const std::vector<SurveyLine>& lines) {
    std::string gpx;
    svx::AppendGpxDocumentStart(gpx);
    for (const SurveyLine& line : lines) {
        svx::AppendGpxRouteStart(gpx, line.name);
        for (const GeoPoint& p : line.points) svx::AppendGpxRoutePoint(gpx, p.latitude, p.longitude);
        svx::AppendGpxRouteEnd(gpx);
    }
    svx::AppendGpxDocumentEnd(gpx);
    return gpx;
}

std::string WritePlanFile(const std::string& path, const std::vector<SurveyLine>& lines) {
    const std::string gpx = PlanGpx(lines);
    svx::OutputFile out;
    std::string error;
    if (out.Open(path, error) && out.Write(gpx.data(), gpx.size(), error) && out.Commit(error)) {
        return {};
    }
    return error;
}

}  // namespace survey
