#include "app/StatusBars.h"

#include "common/TextFormat.h"
#include "document/CVantrelDoc.h"

namespace {

constexpr double kMetresPerFoot = 0.3048;

StatusPane Pane(PaneKind kind, int width, std::string text = {}, bool warning = false,
                std::string tip = {}) {
    return {kind, width, std::move(text), warning, std::move(tip)};
}

// Builds a bar from its panes after pane 0: label, value, spacer groups.
class BarBuilder {
public:
    explicit BarBuilder(std::string message = {}) {
        panes[0] = Pane(PaneKind::Message, 50, std::move(message));
    }
    BarBuilder& Field(int labelWidth, const char* label, int valueWidth, std::string value) {
        Add(Pane(PaneKind::Label, labelWidth, label));
        Add(Pane(PaneKind::Value, valueWidth, std::move(value)));
        return Spacer();
    }
    // A field of the GPS: its value pane warns while the GPS is lost.
    BarBuilder& GpsField(int labelWidth, const char* label, int valueWidth, std::string value,
                         const StatusInputs& in) {
        Add(Pane(PaneKind::Label, labelWidth, label));
        Add(Pane(PaneKind::Value, valueWidth, std::move(value), in.gpsLost, in.gpsTip));
        return Spacer();
    }
    BarBuilder& Text(std::string text) { return Add(Pane(PaneKind::Text, 70, std::move(text))); }
    // The course: wide enough for "GPS lost 99 min" in the warning's bold face.
    BarBuilder& GpsText(std::string text, const StatusInputs& in) {
        return Add(Pane(PaneKind::Text, 80, std::move(text), in.gpsLost, in.gpsTip));
    }
    BarBuilder& Spacer() { return Add(Pane(PaneKind::Spacer, 10)); }
    BarBuilder& WideSpacer() { return Add(Pane(PaneKind::WideSpacer, 20)); }
    StatusBarPanes Done() const { return panes; }

private:
    BarBuilder& Add(StatusPane pane) {
        if (next < kStatusPaneCount) panes[next++] = std::move(pane);
        return *this;
    }
    StatusBarPanes panes;
    int next = 1;
};

}  // namespace

void ApplyRowStamp(StatusInputs& in, const RowInfo& row, std::string_view dateText) {
    const std::string_view time = row.Time().substr(0, 8);
    in.statusTexts[1] = std::string(time);
    in.statusTexts[2] = time.empty() ? std::string() : std::string(dateText);
    in.latitude = std::string(row.texts[kNavLatitude].View());
    in.longitude = std::string(row.texts[kNavLongitude].View());
    in.speed = std::string(row.texts[kNavSpeed].View());
    in.statusTexts[7] = std::string(row.texts[kNavCourse].View());
    in.statusTexts[8] = std::string(row.texts[kNavTime].View());
    in.gpsLost = false;
    in.gpsTip.clear();
}

void ApplyGpsStatus(StatusInputs& in, const GpsFixStatus& status) {
    in.gpsLost = status.Lost();
    if (!in.gpsLost) {
        in.gpsTip = status.ageMs ? "GPS fix " + GpsAgeText(status) + " old" : std::string();
        return;
    }
    const std::string lost = GpsLostText(*status.ageMs);
    in.latitude = in.longitude = in.speed = in.statusTexts[7] = lost;
    in.gpsTip = lost + ": " + GpsLostReason(status) + "; positions older than " +
                Printf("%.1f", status.thresholdMs / 1000.0) + " s are not current";
}

void ApplyOrientation(StatusInputs& in, const OrientationReadings& values) {
    in.temperatureC = values.temperatureC;
    in.depthM = values.depthM;
    in.pitch = values.pitchDeg;
    in.roll = values.rollDeg;
    in.heading = values.headingDeg;
}

std::string StatusGainText(const CVantrelDoc& doc) {
    const auto gain = [&](int head) { return doc.heads[head].gainDb; };
    const bool es = doc.heads[kHeadES].available != 0;
    if (doc.threeFrequencySystem) {
        return es ? Printf("%d %d %d %d", gain(0), gain(1), gain(2), gain(3))
                  : Printf("%d %d %d", gain(0), gain(1), gain(2));
    }
    const int a = gain(doc.displayChannelA), b = gain(doc.displayChannelB);
    return es ? Printf("%d %d %d", a, b, gain(kHeadES)) : Printf("%d %d", a, b);
}

StatusBarPanes FirstStatusBar(const CVantrelDoc& doc, const StatusInputs& in) {
    const bool imperial = doc.units != 0;
    const std::string temperature = imperial ? Printf("%.1f F", in.temperatureC * 9 / 5 + 32)
                                             : Printf("%.1f C", in.temperatureC);
    const std::string depth =
        imperial ? Printf("%.1f ft", in.depthM / kMetresPerFoot) : Printf("%.1f m", in.depthM);
    return BarBuilder(in.message)
        .Field(40, "Zoom:", 60, Printf("%d", in.zoomPercent) + "%")
        .Field(40, "Gain:", 60, StatusGainText(doc))
        .Field(40, "Temp:", 50, temperature)
        .Field(50, "Depth:", 50, depth)
        .Text(in.statusTexts[2])
        .WideSpacer()
        .GpsField(40, "Long:", 80, in.longitude, in)
        .Field(50, "Heading:", 60, in.gpsHeading)
        .Text(in.statusTexts[8])
        .Spacer()
        .Done();
}

std::string LinkPaneText(const CVantrelDoc& doc) {
    return doc.State() == EngineState::Idle ? std::string() : LinkStatusText(doc.links);
}

std::string ReconnectPaneText(const CVantrelDoc& doc) {
    return doc.State() == EngineState::Idle ? std::string() : std::to_string(doc.rebuildCount);
}

std::string AltitudePaneText(const CVantrelDoc& doc) {
    const double metres = doc.orientation.altitudeShown;
    return doc.units != 0 ? Printf("Altitude: %.1f ft", metres / kMetresPerFoot)
                          : Printf("Altitude: %.1f m", metres);
}

std::string SteeringPaneText(const CVantrelDoc& doc, bool& offLine) {
    const survey::SteeringReadout& r = doc.survey.steering;
    offLine = r.active && r.offLine;
    if (!r.active) {
        const survey::SurveyLine* line = doc.survey.plan.Active();
        return line ? line->name + ": no current position" : std::string();
    }
    return r.line + ": " + r.crossTrack + "  to end " + r.toEnd + " " + r.timeToEnd + "  line " +
           r.bearing + " COG " + r.course;
}

StatusBarPanes SecondStatusBar(const CVantrelDoc& doc, const StatusInputs& in) {
    const bool imperial = doc.units != 0;
    const double range = imperial ? in.pointerRange / kMetresPerFoot : in.pointerRange;
    const char* format = in.pointerStarboard ? (imperial ? "S: %.1f ft" : "S: %.1f m")
                                             : (imperial ? "P: %.1f ft" : "P: %.1f m");
    return BarBuilder()
        .Field(40, "Target:", 60, Printf(format, range))
        .Field(40, "Pitch:", 60, Printf("%.1f", in.pitch))
        .Field(40, "Roll:", 50, Printf("%.1f", in.roll))
        .Field(50, "Heading:", 50, Printf("%.1f", in.heading))
        .Text(in.statusTexts[1])
        .WideSpacer()
        .GpsField(40, "Lat:", 80, in.latitude, in)
        .GpsField(50, "Speed:", 80, in.speed, in)
        .GpsText(in.statusTexts[7], in)
        .Spacer()
        .Done();
}
