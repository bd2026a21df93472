#pragma once
// The track of an NMEA log written as the log is read: the log in pieces, each line decoded as
// it comes (one line is one batch, as TrackFixCollector::AddLogLine takes it; CR LF, LF and CR
// alone all end a line), each fix written once it is final. Memory stays the same however
// long the log. The bytes written are those of TrackExport of the log's fixes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "export/GeoTexts.h"

namespace svx {

struct LogTrackReport {
    std::uint64_t points = 0;  // fixes written; none: no output was created
    int withoutFix = 0;        // positions left out because their sentence said "no fix"
    // Why the log could not be read or the output not written; the output is then removed.
    std::string error;
};

struct LogTrackSizes {
    std::size_t readBytes = std::size_t{1} << 20;  // a read of the log
    std::size_t writeBytes = std::size_t{1} << 18;  // text gathered before it is written
};

// Reads the log at `log` and writes the track to `out`, created only once a fix is found.
// `name` names the track in GPX and KML.
LogTrackReport ExportLogTrack(const std::string& log, const std::string& out, GeoFormat format,
                              const std::string& name, LogTrackSizes sizes = {});

}  // namespace svx
