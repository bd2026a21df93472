#pragma once
// The track export written fix by fix: the start of the document, one piece a fix, the end.
// A whole export in one text (TrackExport) and a stream to a file write the same bytes.

#include <string>

#include "export/GeoTexts.h"
#include "gps/TrackFixes.h"

namespace svx {

std::string TrackCsvHeader();

class TrackWriter {
public:
    // `name` names the track in GPX and KML.
    TrackWriter(GeoFormat format, std::string name) : format(format), name(std::move(name)) {}

    void Start(std::string& out) const;
    void Add(const TrackFix& fix, std::string& out);
    void End(std::string& out) const;

private:
    GeoFormat format;
    std::string name;
    bool anyFix = false;
    std::string isoTime;  // reused for every point
};

}  // namespace svx
