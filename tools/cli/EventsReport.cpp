#include "EventsReport.h"

#include <algorithm>
#include <cstdio>

#include "../common/CommandLine.h"
#include "TrackReport.h"

#include "imaging/ImageSet.h"
#include "imaging/SideGeometry.h"

namespace cli {

namespace {

constexpr int kMinChip = 16;
constexpr int kMaxChip = 1000;

void DescribeEvents(CLI::App& app, FormatChoice& given, EventsOptions& options,
                    std::vector<std::string>& files) {
    app.description(
        "Exports the events of a recording or an XTF file (its event file: x.svx and x.xtf\n"
        "have x.an): number, ping, date, time, latitude and longitude (signed degrees, read\n"
        "from the event's texts; an XTF file's event without them takes its ping's position\n"
        "from the file), across-track fraction and annotation. With --chips, the file is\n"
        "played headless and a square crop of the composite waterfall around each event is\n"
        "written as a PNG.");
    app.set_version_flag("--version", tools::VersionText("sonvara-cli events"));
    tools::LastValueWins(app);
    app.add_option("file", files, "the data file or XTF file")->type_name("FILE.svx|FILE.xtf");
    app.add_option("--csv", given.csv,
                   "CSV with a header row: number,ping,date,time,latitude,longitude,across,"
                   "annotation (latitude and longitude empty where the texts say n/a)")
        ->type_name("OUT");
    app.add_option("--gpx", given.gpx, "GPX 1.1: one waypoint per event with a position")
        ->type_name("OUT");
    app.add_option("--kml", given.kml, "KML 2.2: one placemark per event with a position")
        ->type_name("OUT");
    app.add_option("--chips", options.chipsDir,
                   "write event-NN.png (NN the event number) into DIR: the composite image "
                   "around the event, centred on it where the image allows")
        ->type_name("DIR");
    app.add_option("--chip-size", options.chipSize,
                   "width and height of a chip in pixels (default 256)")
        ->type_name("PIXELS")
        ->check(tools::Wants([](const std::string& v) { return IntIn(v, kMinChip, kMaxChip); },
                             "16 .. 1000 pixels"));
    AddImageOptions(app, options.images);
    app.footer(
        "Exactly one of --csv, --gpx and --kml is given.\n"
        "Exit status: 0 when everything asked for was written; 1 when a file cannot be read or\n"
        "written, the event file is damaged (the events before the damage are exported) or an\n"
        "event got no chip; 2 for a mistake on the command line.");
}

}  // namespace

EventsParse ParseEventsArguments(const std::vector<std::string>& args) {
    EventsParse result;
    EventsOptions options;
    FormatChoice given;
    std::vector<std::string> files;
    CLI::App app{"", "sonvara-cli events"};
    DescribeEvents(app, given, options, files);
    if (!tools::TakeOutcome(tools::ParseCommandLine(app, args), result)) return result;
    if (files.size() != 1) {
        result.error = files.empty() ? "a data file (FILE.svx) is required"
                                     : "only one data file can be exported";
    } else if (ChooseFormat(given, options.out, options.format, result.error)) {
        options.file = files.front();
        result.options = options;
    }
    return result;
}

std::string ChipFileName(int eventNumber) {
    char name[32];
    std::snprintf(name, sizeof name, "event-%02d.png", eventNumber);
    return name;
}

int EventColumn(double acrossFraction, int width, int sideMode) {
    const double column = width * acrossFraction;
    if (!(column > -1.0 && column < width + 1.0)) return -1;  // also a NaN fraction
    return AcrossColumn(acrossFraction, width, sideMode);
}

ChipPlanner::ChipPlanner(const EventList& list, int chipSize, int side)
    : size(chipSize), sideMode(side) {
    for (int i = 0; i < list.count; ++i) {
        const EventRecord& e = list.entries[static_cast<std::size_t>(i)];
        events.push_back({e.number, e.pingNumber, e.acrossFraction, false, false});
    }
}

std::optional<ChipCut> ChipPlanner::CutOf(const ImageSet& images, const Pending& event,
                                          bool atEnd) const {
    const RingImage& composite = images.CompositeImage();
    const int width = composite.Width(), rows = composite.Rows();
    if (event.ping < 1 || width < size || rows < size) return std::nullopt;
    const int x = EventColumn(event.across, width, sideMode);
    if (x < 0 || x >= width) return std::nullopt;
    // A ping merged into the row of a later one is cut around that row.
    const int row = images.CompositeRowOfPing(event.ping);
    if (row < 0 || (!atEnd && row < size / 2)) return std::nullopt;
    ChipCut cut;
    cut.number = event.number;
    cut.size = size;
    cut.left = std::clamp(x - size / 2, 0, width - size);
    cut.top = std::clamp(row - size / 2, 0, rows - size);
    return cut;
}

std::vector<ChipCut> ChipPlanner::Due(const ImageSet& images, int playedPing) {
    std::vector<ChipCut> due;
    for (Pending& event : events) {
        if (event.cut) continue;
        if (event.ping == playedPing) event.played = true;
        if (!event.played) continue;
        if (const std::optional<ChipCut> cut = CutOf(images, event, false)) {
            event.cut = true;
            due.push_back(*cut);
        }
    }
    return due;
}

std::vector<ChipCut> ChipPlanner::Remaining(const ImageSet& images) {
    std::vector<ChipCut> due;
    for (Pending& event : events) {
        if (event.cut || !event.played) continue;
        if (const std::optional<ChipCut> cut = CutOf(images, event, true)) {
            event.cut = true;
            due.push_back(*cut);
        }
    }
    return due;
}

std::vector<int> ChipPlanner::Missed() const {
    std::vector<int> missed;
    for (const Pending& event : events) {
        if (!event.cut) missed.push_back(event.number);
    }
    return missed;
}

}  // namespace cli
