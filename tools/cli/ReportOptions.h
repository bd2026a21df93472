#pragma once
// The command line of `sonvara-cli report`: the recordings (data files and XTF files mixed,
// each with its event file beside it), the report folder, the PDF and the size of the chips.

#include <optional>
#include <string>
#include <vector>

namespace cli {

struct ReportOptions {
    std::vector<std::string> inputs;
    std::string htmlDir;    // index.html, its pictures, contacts.csv and contacts.geojson
    std::string pdf;        // empty: no PDF
    int chipSize = 256;     // pixels, square
    bool progress = false;  // "progress DONE TOTAL" lines on standard output
};

struct ReportParse {
    std::optional<ReportOptions> options;
    bool help = false;
    bool version = false;
    std::string text;
    std::string error;
};

ReportParse ParseReportArguments(const std::vector<std::string>& args);

}  // namespace cli
