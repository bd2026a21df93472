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

// RowInfo for up to 4000 rows. Its ring has the rows of the slot's image, or 4000 while the
// slot has no image.
class RowInfoRing {
public:
    RowInfoRing() : entries(kMaxImageRows) { index.Reset(kMaxImageRows); }

    // Follows a (re)allocated image of `rows` rows; 0 rows means no image.
    void Follow(int rows) { index.Reset(rows > 0 && rows <= kMaxImageRows ? rows : kMaxImageRows); }
    int Rows() const { return index.Rows(); }

    RowInfo& Row(int r) { return entries[static_cast<std::size_t>(index.Physical(r))]; }
    const RowInfo& Row(int r) const { return entries[static_cast<std::size_t>(index.Physical(r))]; }

    // Scrolls down by a like a block move: rows 0 .. a - 1 keep what they held.
    void ScrollDownKeepingTop(int a);
    // Slot reset: advance 1, ping number 0, time zeroed and texts emptied in all 4000 entries.
    void Reset();

private:
    std::vector<RowInfo> entries;
    RingIndex index;
};
