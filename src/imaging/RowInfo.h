#pragma once
// The stamp of one image row: which ping it shows, when and where. Kept in step with the image
// rows of its slot through the same ring arithmetic.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "gps/NavigationTexts.h"
#include "imaging/RingImage.h"

struct RowInfo {
    std::array<char, 12> time{};  // clock text and milliseconds text, no terminator
    NavigationTexts texts{};
    double altitudeM = 0.0;
    double headingDeg = 0.0;
    std::int32_t pingNumber = 0;
    std::uint8_t advance = 1;

    std::string_view Time() const {
        std::size_t n = 0;
        while (n < time.size() && time[n] != 0) ++n;
        return std::string_view(time.data(), n);
    }
};

inline constexpr int kMaxImageRows = 4000;

// RowInfo of the rows of a slot's image (up to 4000), in a ring like the image's; a slot
// without an image keeps only its row 0, which every cycle stamps.
class RowInfoRing {
public:
    RowInfoRing() : entries(1) { index.Reset(1); }

    // Follows a (re)allocated image of `rows` rows; 0 rows means no image. The stamps start
    // reset (advance 1, everything else empty).
    void Follow(int rows);
    int Rows() const { return index.Rows(); }

    RowInfo& Row(int r) { return entries[static_cast<std::size_t>(index.Physical(r))]; }
    const RowInfo& Row(int r) const { return entries[static_cast<std::size_t>(index.Physical(r))]; }

    // Scrolls down by a like a block move: rows 0 .. a - 1 keep what they held.
    void ScrollDownKeepingTop(int a);
    // Slot reset: advance 1, ping number 0, time zeroed and texts emptied in every row.
    void Reset();

private:
    std::vector<RowInfo> entries;
    RingIndex index;
};
