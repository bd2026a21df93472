#pragma once
// The plain part of `sonvara-cli events`: its command line, the exports of the events of a
// recording (its event file), and where the chip of each event is cut from the composite
// image.

#include <optional>
#include <string>
#include <vector>

#include "ImageOptions.h"
#include "export/PositionExports.h"

class ImageSet;

namespace cli {

using svx::GeoFormat;

struct EventsOptions {
    std::string file;  // the data file; its events are in the event file beside it
    std::string out;
    GeoFormat format = GeoFormat::Csv;
    std::string chipsDir;  // empty: no chips
    int chipSize = 256;    // pixels, square
    ImageOptions images;
};

struct EventsParse {
    std::optional<EventsOptions> options;
    bool help = false;
    bool version = false;
    std::string text;
    std::string error;
};

EventsParse ParseEventsArguments(const std::vector<std::string>& args);

// "event-07.png"
std::string ChipFileName(int eventNumber);

// The image column of an event on a composite image of this width in a side mode (1 port,
// 2 starboard, 3 both), as the markers are placed; outside 0 .. width - 1 when the event lies
// on the side that is not shown.
int EventColumn(double acrossFraction, int width, int sideMode);

// A square cut of an image.
struct ChipCut {
    int number = 0;
    int left = 0, top = 0, size = 0;
};

// Follows the events while a file plays and says when each one's chip is to be cut: once the
// row of its ping has half a chip of newer rows above it (so the event is centred), or at the
// end of the file (the cut then kept inside the image).
class ChipPlanner {
public:
    ChipPlanner(const EventList& events, int size, int sideMode);
    // After a record of this ping was played; the chips due now.
    std::vector<ChipCut> Due(const ImageSet& images, int playedPing);
    // At the end of the file: the chips of events whose rows are still in the image.
    std::vector<ChipCut> Remaining(const ImageSet& images);
    // Events that got no chip: their ping was never drawn, or they lie on the side not shown.
    std::vector<int> Missed() const;

private:
    struct Pending {
        int number = 0;
        int ping = 0;
        double across = 0.0;
        bool played = false;
        bool cut = false;
    };
    std::optional<ChipCut> CutOf(const ImageSet& images, const Pending& event, bool atEnd) const;

    std::vector<Pending> events;
    int size;
    int sideMode;
};

}  // namespace cli
