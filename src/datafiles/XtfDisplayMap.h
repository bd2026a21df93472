#pragma once
// XTF samples as the display's bytes. 1-byte samples pass unchanged, so a file we exported
// reads back as the bytes it was made from. Wider samples (most recorders write 16-bit
// values that use the whole range and are not decibels) go through a logarithmic curve with
// a gain taken from the file:
//
//     byte(v) = min(254, round(254 * ln(1 + 100 * v / top) / ln(101)))     (0 for v <= 0)
//
// where `top` is the value shown as 254: the 99.5th percentile of the non-zero samples of up
// to 64 pings spread over the file. The curve spans 40 dB below top: a return of top / 100
// shows as 38, top / 10 as 132, top / 2 as 216; only the brightest half percent saturates.

#include <cstdint>
#include <vector>

#include "datafiles/RecordCodec.h"
#include "datafiles/XtfReader.h"

namespace xtf {

class DisplayMap {
public:
    // The value shown as 254 (values at or below 0, and NaN, fall back to 1).
    explicit DisplayMap(double top = 1);

    double Top() const { return top; }
    std::uint8_t Map(double value) const;
    // The samples in their file order, one byte each, into out (samples.count bytes).
    void Map(const SampleView& samples, std::uint8_t* out) const;

private:
    double top;
    double scale;                       // 100 / top
    double norm;                        // 254 / ln(101)
    std::vector<std::uint8_t> table16;  // every 2-byte value's byte
};

// Collects the samples that choose the gain.
class GainSampler {
public:
    // The ping's channels of more than one byte a sample; 1-byte channels need no gain.
    void Add(const Ping& ping);
    std::size_t Values() const { return values.size(); }
    // The 99.5th percentile of the non-zero samples seen, 1 when there were none.
    double Top() const;

private:
    std::vector<float> values;
};

// The map of a file: its gain from up to 64 pings spread evenly over it (by byte offset).
DisplayMap DisplayMapForFile(svx::ByteSource& source, const FileDescription& file);

}  // namespace xtf
