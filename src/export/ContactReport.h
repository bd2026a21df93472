#pragma once
// The contacts of a survey report: one per event of every recording (its event file), with
// where the contact lies on the seabed. The ship's position at the event's ping is taken
// between the fixes before and after it (by time, as the mosaic places pings); the contact
// lies across the ship's heading at the ground distance of its across-track slant range
// (the event's fraction of the line times the range, less the altitude by Pythagoras), on the
// side the fraction gives. Plain C++: the report's pictures and pages are made elsewhere.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datafiles/EventFile.h"
#include "export/ExportJob.h"
#include "gps/Utm.h"

namespace svx {

struct Contact {
    int number = 0;     // in the report, 1 ..
    std::string file;   // the recording's file name, without its folder
    int recording = 0;  // index of the recording in the report's inputs
    int event = 0;      // the event's own number in its event file
    std::int32_t ping = 0;
    double acrossFraction = 0.5;
    std::string time;  // "2026-12-09 10:01:23.500" (UTC); the event's texts when the ping is not in
                       // the file
    std::string annotation;  // as typed ("n/a" when none was)
    // Where the contact lies on the seabed: nothing when the file holds no position.
    std::optional<double> latitude, longitude;
    std::optional<UtmPosition> utm;
    bool starboard = false;
    std::optional<double> acrossM;      // ground distance from the ship's track
    std::optional<double> slantRangeM;  // of the line the event was marked on
    std::optional<double> altitudeM;
    std::optional<double> headingDeg;
    std::uint8_t headsPresent = 0;  // bit h: head h (0 L, 1 M, 2 H) has a line at the ping
    bool pingFound = false;
};

// Where a contact lies from what its ping says.
struct ContactGeometry {
    double shipLatitude = 0.0, shipLongitude = 0.0;
    double headingDeg = 0.0;
    double slantRangeM = 0.0;
    std::optional<double> altitudeM;
};
struct ContactPlace {
    double latitude = 0.0, longitude = 0.0;
    double acrossM = 0.0;
    bool starboard = false;
};
// The ground distance of a slant distance at an altitude: 0 within the water column, the slant
// distance itself without an altitude.
double GroundDistance(double slantM, const std::optional<double>& altitudeM);
ContactPlace PlaceContact(const ContactGeometry& g, double acrossFraction);

// A scale bar for a picture `metres` wide: the longest of 1, 2 or 5 x 10^k metres that is at
// most a third of it (0 for a width that is not positive).
double ScaleBarMetres(double metres);

// "54.19.1919 N" / "010.09.1875 E": degrees, minutes with four decimals and the hemisphere, as
// the application shows a position.
std::string ShownCoordinate(double degrees, bool latitude);
// Both, "54.19.1919 N 010.09.1875 E", or "no position".
std::string ShownPosition(const Contact& c);

// A fix of the ship's track, in signed degrees.
struct TrackPoint {
    double latitude = 0.0, longitude = 0.0;
};

// The contacts of one recording: its events (read from its event file by the caller) placed
// by a walk of the file; the fixes of the walk go to `track`. Damage stepped over goes to
// report.damage; false (report.error) when the file cannot be read at all. Contacts are
// numbered from `firstNumber` on, in the order of the event file.
bool CollectContacts(const std::string& path, int recording, const EventList& events,
                     int firstNumber, std::vector<Contact>& out, std::vector<TrackPoint>& track,
                     ExportReport& report, const ExportProgress& progress = {});

}  // namespace svx
