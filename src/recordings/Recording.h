#pragma once
// Readers of recordings behind one interface, the way GDAL puts each raster format behind one
// driver: a ".svx" data file of this program and a side-scan XTF file of another program give,
// ping after ping, the same values to every product (mosaic, track, coverage). Each reader
// steps over damage as it finds it and reports the stretches; none ever writes its file.
//
// A format is chosen by what the file's first bytes say, then by its name (OpenRecording).

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "datafiles/XtfReader.h"
#include "export/ExportJob.h"
#include "export/PingNavigation.h"

namespace rec {

// The side-scan heads a ping's lines are shown on: L, M and H.
inline constexpr int kSideScanSlots = 3;

// One side-scan line of a ping: both sides, nearest the fish first, as the display's bytes.
struct SideScanLine {
    bool present = false;
    double frequencyKHz = 0;
    double slantRangeM = 0;  // what each side's samples cover, from the first to the last
    std::vector<std::uint8_t> port, starboard;
};

struct PingValues {
    std::uint64_t offset = 0;  // of the ping's record or packet in its file
    // Time, ping number, position, speed, course, heading, attitude, altitude, event.
    svx::PingNavigation nav;
    std::array<SideScanLine, kSideScanSlots> heads;  // by slot: L, M, H
};

// Called for every ping in file order; the values are valid during the call. False stops the
// walk (the product failed): the rest of the file is not read.
using PingVisitor = std::function<bool(const PingValues&)>;

class RecordingReader {
public:
    virtual ~RecordingReader() = default;
    // "svx" or "xtf".
    virtual const char* Format() const = 0;
    // Walks the pings; progress is told the bytes read now and then and may cancel
    // (report.cancelled). The stretches stepped over go to report.damage, what the user
    // should know of the file to report.notes. False (report.error says why) when the file
    // cannot be read at all.
    virtual bool Walk(const PingVisitor& onPing, const svx::ExportProgress& progress,
                      svx::ExportReport& report) = 0;
};

// A format of recordings: whether the first bytes (up to 16) and the name are its, and a
// reader of a file of it.
struct RecordingFormat {
    const char* name;
    bool (*claims)(const std::string& path, const std::string& firstBytes);
    std::unique_ptr<RecordingReader> (*open)(const std::string& path);
};

// The formats this program reads, the first that claims a file wins.
const std::vector<RecordingFormat>& RecordingFormats();

// A reader of the recording at path; nullptr with error set when the file cannot be opened
// or no format claims it.
std::unique_ptr<RecordingReader> OpenRecording(const std::string& path, std::string& error);

// The reader of each format (RecordingFormats lists them).
std::unique_ptr<RecordingReader> OpenSvxRecording(const std::string& path);
std::unique_ptr<RecordingReader> OpenXtfRecording(const std::string& path);

// The position of an XTF ping in degrees: the first of the sensor's and the ship's that is a
// latitude and longitude, when the file's units are degrees.
std::optional<xtf::Coordinates> PositionInDegrees(const xtf::Ping& ping, xtf::NavUnits units);

// The slot (0 L, 1 M, 2 H) whose head's frequency lies nearest to kHz.
int NearestSlot(double kHz);

}  // namespace rec
