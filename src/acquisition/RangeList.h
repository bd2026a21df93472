#pragma once
// The ranges the heads work at, in metres.

#include <array>

inline constexpr std::array<int, 20> kRangeList = {1,  2,  3,  4,   5,   10,  20,  30,  40,  50,
                                                   60, 80, 100, 120, 150, 200, 250, 300, 400, 500};
// The commands step only between these indices (10 m .. 500 m).
inline constexpr int kMinRangeIndex = 5;
inline constexpr int kMaxRangeIndex = 19;
// The index a range outside the selectable list falls back to.
inline constexpr int kFallbackRangeIndex = 15;

// Position of a stored range among the selectable entries (10 gives 5, 500 gives 19); any
// other value gives 15.
int RangeIndexOf(int metres);
