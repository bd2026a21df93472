#include "imaging/CompositeOverlay.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr int kRangeTextAbove = 42;
constexpr int kWaitTextAbove = 50;
constexpr int kWaitTextLeftOfCentre = 150;
constexpr int kHeldLeftOfRight = 55;
constexpr int kSpinnerLeftOfRight = 20;
constexpr int kScLeftOfRight = 40;
constexpr int kCornerTop = 1;

std::string RangeText(int range, int units) {
    char text[32];
    if (units == 1) {
        std::snprintf(text, sizeof text, "%d ft ", 3 * range);
    } else {
        std::snprintf(text, sizeof text, "%d m ", range);
    }
    return text;
}

}  // namespace

char ActivityCharacter(std::int32_t acceptedCycleCount) {
    static constexpr char kSpinner[4] = {'\\', '-', '/', '|'};
    const int step = ((acceptedCycleCount % 4) + 4) % 4;
    return kSpinner[step];
}

std::vector<OverlayText> CompositeOverlayTexts(const CompositeOverlayInput& in) {
    std::vector<OverlayText> texts;
    const int w = in.clientWidth;
    const int h = in.clientHeight;
    if (in.showRange && in.compositeMode) {
        texts.push_back(
            {RangeText(in.range, in.units), 4, h - kRangeTextAbove, kOverlayFontHeight});
    }
    if (!in.playbackMode && in.discoveryMode) {
        texts.push_back({"Reading System Info... Please wait !", w / 2 - kWaitTextLeftOfCentre,
                         h - kWaitTextAbove, kOverlayFontHeight});
    }
    if (in.held) {
        texts.push_back({"Held", w - kHeldLeftOfRight, kCornerTop, kOverlayFontHeight});
        return texts;
    }
    texts.push_back({std::string(1, ActivityCharacter(in.acceptedCycleCount)),
                     w - kSpinnerLeftOfRight, kCornerTop, kOverlayFontHeight});
    if (in.speedCorrection) {
        texts.push_back({"sc", w - kScLeftOfRight, kCornerTop, kSpeedCorrectionFontHeight});
    }
    return texts;
}

std::int32_t MarkerRowShift(bool held, bool playbackMode, std::int32_t rowCounter,
                            std::int32_t heldRowCounter) {
    return held && !playbackMode ? heldRowCounter : rowCounter;
}

std::int32_t NextDrawTimeAverage(std::int32_t previous, std::int64_t elapsedMs) {
    const std::int64_t sum =
        static_cast<std::int64_t>(previous) + std::max<std::int64_t>(0, elapsedMs);
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(sum / 2, std::numeric_limits<std::int32_t>::max()));
}
