#pragma once
// What the windows tell the document about themselves: whether the pointer is over each
// waterfall, how each is scrolled, the across-track range under the pointer, how long the
// composite takes to paint. Only CVantrelDoc::SetViewFeedback writes it; the status bars, the
// diagnostics and the ingest read it. Painting never writes the model itself.

#include <array>
#include <cstdint>

#include "imaging/ImageSet.h"

struct SlotFeedback {
    std::int32_t pointerInside = 0;
    // The view's scroll offset, published by the 120 and 260 kHz views while they are dragged.
    std::int32_t scrollX = 0;
    std::int32_t scrollY = 0;
};

struct ViewFeedback {
    std::array<SlotFeedback, kSlotCount> slots{};
    double pointerRange = 0.0;  // metres across track at the pointer
    std::int32_t pointerStarboard = 0;
    // Running average of the composite view's paint time, milliseconds (the diagnostics show it).
    std::int32_t drawTimeAverage = 0;

    bool PointerInAnyView() const {
        for (const SlotFeedback& slot : slots) {
            if (slot.pointerInside) return true;
        }
        return false;
    }
};
