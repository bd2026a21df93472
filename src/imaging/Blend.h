#pragma once
// Blending of the rows between two pings: row i of an advance of a rows lies i / a of the way
// from the newest ping's row towards the older neighbour below it.

#include <cstdint>

// out = min(254, trunc((i / a) * older + ((a - i) / a) * newest)) for 0 < i < a <= 4096,
// computed exactly: whole-number results stay whole (floating-point weights would turn
// (1 * 1 + 2 * 7) / 3 = 5 into 4.999... and truncate it to 4).
void BlendRow(std::uint8_t* out, const std::uint8_t* older, const std::uint8_t* newest, int width,
              int i, int a);
