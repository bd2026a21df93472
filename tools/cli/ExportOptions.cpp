#include "ExportOptions.h"

#include <charconv>

#include "../common/CommandLine.h"

namespace cli {

namespace {

constexpr const char* kExitStatus =
    "Exit status: 0 written (damaged records are stepped over and named on standard error);\n"
    "1 the input cannot be read or holds nothing to write, or the output cannot be written\n"
    "(no output is left then), or the input is cut off at its end (what it holds is\n"
    "written); 2 for a mistake on the command line.";

bool MetresIn(const std::string& text, double lowest, double highest) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= lowest && value <= highest;
}

bool CountIn(const std::string& text, int lowest, int highest) {
    int value = -1;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= lowest && value <= highest;
}

bool TableIndex(const std::string& text) { return CountIn(text, 0, 9); }

// "32N", "1S": a zone 1 .. 60 and its hemisphere.
bool ZoneText(const std::string& text) {
    if (text.size() < 2 || text.size() > 3) return false;
    const char h = text.back();
    return (h == 'N' || h == 'S' || h == 'n' || h == 's') &&
           CountIn(text.substr(0, text.size() - 1), 1, 60);
}

void DescribeXtf(CLI::App& app, std::vector<std::string>& files) {
    app.description(
        "Writes a sonar data file as XTF: one sonar packet per record, a port and a starboard\n"
        "channel of 1000 one-byte samples (port far range first, starboard nearest the fish\n"
        "first, as XTF readers lay them side by side) for every side-scan head of the first\n"
        "record; navigation from the recorded NMEA sentences (latitude/longitude),\n"
        "attitude, depth and temperature from the orientation sensor, altitude from the echo\n"
        "sounder. Records without a fix keep the last position; how many is said at the end.\n"
        "An XTF file as input is refused (exit 1): it is XTF already.");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli xtf"));
    app.add_option("files", files, "the data file and the XTF file to write")
        ->type_name("FILE.svx OUT.xtf");
    app.footer(kExitStatus);
}

void DescribeMosaic(CLI::App& app, MosaicCommandOptions& options, std::vector<std::string>& files,
                    bool& noSlant) {
    app.description(
        "Lays the pings of one side-scan head on the map: a georeferenced backscatter mosaic\n"
        "(a Cloud Optimized GeoTIFF) in WGS 84 / UTM of the zone where most pings lie, nodata\n"
        "where no ping reached. Several recordings make one mosaic; where lines overlap,\n"
        "--overlap chooses the sample a pixel keeps. Needs recorded positions: the NMEA\n"
        "sentences of a data file, or the navigation in degrees of an XTF file (each XTF\n"
        "channel pair is the head L, M or H nearest its frequency; the altitude is the file's).\n"
        "A recording without positions is left out with a message.");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli mosaic"));
    app.add_option("files", files, "the data files and XTF files")
        ->type_name("FILE.svx|FILE.xtf");
    app.add_option("--geotiff", options.geotiff, "write an 8-bit GeoTIFF of the sample values")
        ->type_name("OUT.tif");
    app.add_option("--kmz", options.kmz, "write a Google Earth overlay (doc.kml and a PNG)")
        ->type_name("OUT.kmz");
    app.add_option_function<std::string>(
           "--head",
           [&options](const std::string& v) {
               options.mosaic.head = v == "L" ? 0 : v == "M" ? 1 : 2;
           },
           "the head to lay (default the first side-scan head of the file)")
        ->type_name("L|M|H")
        ->check(tools::Wants([](const std::string& v) { return v == "L" || v == "M" || v == "H"; },
                             "L, M or H"));
    app.add_option_function<double>(
           "--resolution", [&options](const double& m) { options.mosaic.resolutionM = m; },
           "pixel size in metres (default the range / 500, rounded to 1, 2 or 5 x 10^k)")
        ->type_name("M")
        ->check(tools::Wants([](const std::string& v) { return MetresIn(v, 0.01, 1000.0); },
                             "0.01 .. 1000 metres"));
    app.add_option("--layback", options.mosaic.laybackM,
                   "metres from the ship's antenna back to the fish (default 0)")
        ->type_name("M")
        ->check(tools::Wants([](const std::string& v) { return MetresIn(v, 0.0, 10000.0); },
                             "0 .. 10000 metres"));
    app.add_flag("--no-slant-correction", noSlant,
                 "lay the samples at their slant distance instead of the ground distance");
    app.add_option_function<std::string>(
           "--overlap",
           [&options](const std::string& v) {
               options.mosaic.overlap = v == "max"      ? svx::MosaicOverlap::Max
                                        : v == "newest" ? svx::MosaicOverlap::Newest
                                                        : svx::MosaicOverlap::Nearest;
           },
           "where recordings overlap, the sample kept: nearest its own nadir (default), the\n"
           "largest, or the later recording's (in the order given)")
        ->type_name("nearest|max|newest")
        ->check(tools::Wants(
            [](const std::string& v) { return v == "nearest" || v == "max" || v == "newest"; },
            "nearest, max or newest"));
    app.add_option("--threads", options.mosaic.threads,
                   "threads laying the recordings (default one per core); the output is the\n"
                   "same whatever their number")
        ->type_name("N")
        ->check(tools::Wants([](const std::string& v) { return CountIn(v, 1, 256); }, "1 .. 256"));
    app.add_option_function<std::string>(
           "--zone",
           [&options](const std::string& v) {
               options.mosaic.zone = std::atoi(v.c_str());
               options.mosaic.south = v.back() == 'S' || v.back() == 's';
           },
           "the UTM zone to lay in (default the zone of most pings), as for lines laid apart")
        ->type_name("1..60N|S")
        ->check(tools::Wants(ZoneText, "a zone 1 .. 60 and N or S, such as 32N"));
    app.add_flag_callback(
        "--normalize", [&options] { options.mosaic.normalize = true; },
        "divide each sample by the survey's mean at its across-track distance and side,\n"
        "scaled back to the survey's mean (default for several inputs)");
    app.add_flag_callback(
        "--no-normalize", [&options] { options.mosaic.normalize = false; },
        "lay the sample values as they are (default for one input)");
    app.add_option("--per-line", options.perLineDir,
                   "write each recording's own raster into DIR too (value and across-track\n"
                   "distance), to be merged later with --merge")
        ->type_name("DIR");
    app.add_flag("--merge", options.merge,
                 "the inputs are per-line rasters of --per-line: merge them by --overlap");
    app.add_option("--color-table", options.colourTable,
                   "colour table of the KMZ's PNG (default 9)")
        ->type_name("N")
        ->check(tools::Wants(TableIndex, "0 .. 9"));
    app.footer(kExitStatus);
}

}  // namespace

ExportParse<XtfOptions> ParseXtfArguments(const std::vector<std::string>& args) {
    ExportParse<XtfOptions> result;
    std::vector<std::string> files;
    CLI::App app{"", "sonvara-cli xtf"};
    DescribeXtf(app, files);
    tools::LastValueWins(app);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    if (files.size() != 2) {
        result.error = "a data file and an output file are required (FILE.svx OUT.xtf)";
        return result;
    }
    result.options = XtfOptions{files[0], files[1]};
    return result;
}

ExportParse<MosaicCommandOptions> ParseMosaicArguments(const std::vector<std::string>& args) {
    ExportParse<MosaicCommandOptions> result;
    MosaicCommandOptions options;
    std::vector<std::string> files;
    bool noSlant = false;
    CLI::App app{"", "sonvara-cli mosaic"};
    DescribeMosaic(app, options, files, noSlant);
    tools::LastValueWins(app);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    if (files.empty()) {
        result.error = options.merge ? "per-line rasters (FILE.tif) are required"
                                     : "a data file (FILE.svx) or XTF file (FILE.xtf) is required";
    } else if (options.merge && !options.perLineDir.empty()) {
        result.error = "--merge takes per-line rasters: --per-line cannot go with it";
    } else if (options.geotiff.empty() && options.kmz.empty() &&
               (options.merge || options.perLineDir.empty())) {
        result.error = "--geotiff OUT.tif or --kmz OUT.kmz is required";
    } else {
        options.inputs = files;
        options.mosaic.slantCorrection = !noSlant;
        result.options = options;
    }
    return result;
}

}  // namespace cli
