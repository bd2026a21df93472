#pragma once
// Speed correction: how many image rows one ping occupies, so that the along-track scale
// equals the across-track scale. Fractions of a row carry over to the next ping.

inline constexpr int kMaxRowAdvance = 4000;
inline constexpr int kDefaultPingIntervalMs = 250;

struct RowAdvance {
    int rows = 0;
    double remainder = 0.0;
};

// rows = trunc(remainder + pixels per metre * metres travelled during the ping interval).
// A missing interval (0) counts as 250 ms. Damaged values (a range of 0 or less, a negative or
// non-numeric speed or interval) add nothing; an advance of 4000 rows or more, which covers any
// image, is kept at 4000 with no remainder.
RowAdvance ComputeAdvance(double remainder, int width, int range, int sideMode, int intervalMs,
                          double knots);
