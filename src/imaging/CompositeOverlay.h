#pragma once
// What the composite view writes over its image: the range text, the wait text while the
// heads' system information is read, and the status corner (activity spinner or "Held", and
// "sc" while speed correction is on); where the event markers go; the paint-time average.

#include <cstdint>
#include <string>
#include <vector>

struct CompositeOverlayInput {
    int clientWidth = 0;
    int clientHeight = 0;
    bool showRange = true;
    bool compositeMode = false;
    int range = 0;  // metres
    int units = 0;  // 0 metric, 1 imperial
    bool playbackMode = false;
    bool discoveryMode = false;
    bool held = false;
    std::int32_t acceptedCycleCount = 0;
    bool speedCorrection = true;
};

struct OverlayText {
    std::string text;
    int left = 0, top = 0;
    int fontHeight = 24;
};

inline constexpr int kOverlayFontHeight = 24;
inline constexpr int kSpeedCorrectionFontHeight = 22;

// The texts in drawing order, top-left corners in window coordinates.
std::vector<OverlayText> CompositeOverlayTexts(const CompositeOverlayInput& in);

// The activity character of a cycle count: \ - / | in turn, one step per good cycle.
char ActivityCharacter(std::int32_t acceptedCycleCount);

// The image row counter the event markers are shifted by: the one remembered when hold
// began while the display is held in real time, else the live one.
std::int32_t MarkerRowShift(bool held, bool playbackMode, std::int32_t rowCounter,
                            std::int32_t heldRowCounter);

// The running paint time: (previous + elapsed) / 2, truncated; negative times count as 0.
std::int32_t NextDrawTimeAverage(std::int32_t previous, std::int64_t elapsedMs);
