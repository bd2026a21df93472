#pragma once
// The milliseconds between two reads of the GPS port: 200..2000 through the dialog, and a
// value from the settings file is brought into that range (0 would spin the reader).

#include <algorithm>

inline constexpr int kGpsReadIntervalMin = 200;
inline constexpr int kGpsReadIntervalMax = 2000;

inline int ClampGpsReadInterval(int milliseconds) {
    return std::clamp(milliseconds, kGpsReadIntervalMin, kGpsReadIntervalMax);
}
