#include "TrackReport.h"

#include "../common/CommandLine.h"

namespace cli {

namespace {

void DescribeTrack(CLI::App& app, FormatChoice& given, std::vector<std::string>& inputs) {
    app.description(
        "Exports the ship's track: one point per position fix. INPUT is a data file (.svx),\n"
        "whose recorded sentences are decoded as playback decodes them, or an NMEA log (one\n"
        "sentence a line, any line ending; other lines and sentences of talkers other than a\n"
        "satellite receiver's are skipped; each line is decoded as one batch). Points whose\n"
        "sentence says there is no fix (RMC or GLL status V, GGA quality 0) are left out and\n"
        "counted on standard error. INPUT may also be an XTF file: one point per position of\n"
        "its pings in degrees, at the fix time the file gives, with its speed and heading;\n"
        "the course is the bearing to the next position (XTF holds no course).");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli track"));
    tools::LastValueWins(app);
    app.add_option("input", inputs, "the data file, XTF file or NMEA log")->type_name("INPUT");
    app.add_option("--csv", given.csv,
                   "CSV with a header row: time (UTC hh:mm:ss.sss as received), date "
                   "(yyyy-mm-dd), latitude, longitude (signed degrees), speed_kn, course_deg, "
                   "heading_deg, utm_zone, easting, northing (metres in the point's own zone; "
                   "south of the equator from 10,000 km), "
                   "ping (empty for an NMEA log)")
        ->type_name("OUT");
    app.add_option("--gpx", given.gpx, "GPX 1.1: one track with UTC times")->type_name("OUT");
    app.add_option("--kml", given.kml, "KML 2.2: one LineString")->type_name("OUT");
    app.footer(
        "Exactly one of --csv, --gpx and --kml is given.\n"
        "Exit status: 0 when the track was written; 1 when the input cannot be read, holds no\n"
        "position fix or has damaged records (stepped over, the track written), or the output\n"
        "cannot be written; 2 for a mistake on the command line.");
}

}  // namespace

bool ChooseFormat(const FormatChoice& given, std::string& out, GeoFormat& format,
                  std::string& error) {
    const int count = !given.csv.empty() + !given.gpx.empty() + !given.kml.empty();
    if (count != 1) {
        error = "give one of --csv OUT, --gpx OUT or --kml OUT";
        return false;
    }
    if (!given.csv.empty()) out = given.csv, format = GeoFormat::Csv;
    if (!given.gpx.empty()) out = given.gpx, format = GeoFormat::Gpx;
    if (!given.kml.empty()) out = given.kml, format = GeoFormat::Kml;
    return true;
}

TrackParse ParseTrackArguments(const std::vector<std::string>& args) {
    TrackParse result;
    FormatChoice given;
    std::vector<std::string> inputs;
    CLI::App app{"", "sonvara-cli track"};
    DescribeTrack(app, given, inputs);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    TrackOptions options;
    if (inputs.size() != 1) {
        result.error = inputs.empty() ? "an INPUT (a data file or an NMEA log) is required"
                                      : "only one INPUT can be exported";
    } else if (ChooseFormat(given, options.out, options.format, result.error)) {
        options.input = inputs.front();
        result.options = options;
    }
    return result;
}

}  // namespace cli
