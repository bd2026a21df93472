#pragma once
// The two status bars of the main window: 23 panes each, with fixed labels, value panes
// filled from the document and the views, text panes and spacers.

#include <array>
#include <string>
#include <string_view>

#include "gps/GpsFixAge.h"
#include "imaging/RowInfo.h"
#include "sensors/OrientationState.h"

class CVantrelDoc;

enum class PaneKind { Message, Label, Value, Text, Spacer, WideSpacer };

struct StatusPane {
    PaneKind kind = PaneKind::Spacer;
    int width = 10;
    std::string text;
    bool warning = false;  // shown in the warning colour
    std::string tip;       // the pane's tooltip; empty for none
};

inline constexpr int kStatusPaneCount = 23;
using StatusBarPanes = std::array<StatusPane, kStatusPaneCount>;

// What the panes show besides the document's head table: values of the views, the sensors
// and the GPS reader.
struct StatusInputs {
    int zoomPercent = 100;
    double temperatureC = 0.0;
    double depthM = 0.0;
    double pitch = 0.0;
    double roll = 0.0;
    double heading = 0.0;
    double pointerRange = 0.0;
    bool pointerStarboard = false;
    std::string latitude = "n/a";
    std::string longitude = "n/a";
    std::string speed = "n/a";
    std::string gpsHeading = "n/a";
    std::array<std::string, 9> statusTexts;  // status texts 1..8 (index 0 unused)
    std::string message;                     // the first bar's message pane
    // The position, speed and course panes read "GPS lost 12 s" in the warning colour; the
    // tip says the age of the fix (or why it is lost).
    bool gpsLost = false;
    std::string gpsTip;
};

// The stamp of an image row in the status fields: its time (first 8 characters) in status
// text 1, the cycle's date in status text 2 when the time is not empty, and its navigation
// texts: latitude, longitude, speed, course (status text 7) and GPS time (status text 8).
void ApplyRowStamp(StatusInputs& in, const RowInfo& row, std::string_view dateText);

// The live GPS over the newest ping's stamp: once the fix is older than the threshold, the
// latitude, longitude, speed and course panes say "GPS lost 12 s" in the warning colour;
// otherwise their tooltips give the age of the fix.
void ApplyGpsStatus(StatusInputs& in, const GpsFixStatus& status);

// The orientation sensor's values of the current cycle in the Temp, Depth, Pitch, Roll and
// Heading panes.
void ApplyOrientation(StatusInputs& in, const OrientationReadings& values);

// The gains in dB as the first status bar shows them.
std::string StatusGainText(const CVantrelDoc& doc);

StatusBarPanes FirstStatusBar(const CVantrelDoc& doc, const StatusInputs& in);

// The panes after the 23 of the bars, empty while the engine is idle: the link of each head
// (second bar), e.g. "ok: L M H  silent: ES", and the number of reconnections (first bar).
std::string LinkPaneText(const CVantrelDoc& doc);
std::string ReconnectPaneText(const CVantrelDoc& doc);
// The height of the towfish above the bottom as the echo-sounder window prints it (the copy
// taken every tenth sample), after the reconnections in the first bar: "Altitude: 12.3 m" or
// "Altitude: 40.4 ft".
std::string AltitudePaneText(const CVantrelDoc& doc);
// The helmsman's read-out in the survey pane under the status bars: "Line 3: 12.4 m L  to
// end 412 m 3:25  line 090.0° COG 087.5°", "Line 3: no current position" without a fix, empty
// without a plan. offLine: past the off-line alarm's threshold (the pane turns red).
std::string SteeringPaneText(const CVantrelDoc& doc, bool& offLine);
StatusBarPanes SecondStatusBar(const CVantrelDoc& doc, const StatusInputs& in);
