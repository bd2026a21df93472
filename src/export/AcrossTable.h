#pragma once
// The mean sample value by across-track ground distance, per side (port, starboard), learned
// from every sample laid: raw side-scan is bright near the nadir and dark at the far range,
// so a mosaic of raw lines is striped where lines meet. Normalising divides each pixel by the
// mean at its sample's distance and side and scales it back to the overall mean.
//
// The sums are whole numbers, so tables learned apart (one per recording, on any thread or
// machine) and added give the same table in any order.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "export/AcrossDistances.h"

namespace svx {

class AcrossTable {
public:
    // Bins narrower than this many samples are too few to trust: they take the factor of the
    // nearest bin of their side that has enough.
    static constexpr std::uint64_t kMinSamples = 64;
    // A factor is kept within 1/kMaxGain .. kMaxGain.
    static constexpr double kMaxGain = 16.0;

    // Bins of `binSteps` distance steps (AcrossDistances::kStepM each); 0 until the first use.
    void SetBin(int binSteps) {
        if (bin == 0) bin = binSteps;
    }
    int BinSteps() const { return bin; }
    // The bin width of a grid of `resolutionM`: five pixels, in whole steps.
    static int BinStepsFor(double resolutionM);

    void Add(int side, double groundM, std::uint8_t value) {
        if (bin == 0) return;  // no grid yet: nothing to bin by
        const double steps = std::min(groundM / AcrossDistances::kStepM,
                                      double(AcrossDistances::kMaxSteps - 1));
        const auto index = static_cast<std::size_t>(steps) / static_cast<std::size_t>(bin);
        auto& s = sums[static_cast<std::size_t>(side)];
        auto& c = counts[static_cast<std::size_t>(side)];
        if (index >= s.size()) s.resize(index + 1, 0), c.resize(index + 1, 0);
        s[index] += value;
        ++c[index];
    }
    // False (and nothing added) when the bins differ.
    bool Merge(const AcrossTable& other);
    bool Empty() const;

    // The factor of every distance code (AcrossDistances), 0x10000 of them.
    std::vector<float> Factors() const;
    // Each pixel of `raster` times the factor of its code in `distances`, rounded, 1..255.
    void Normalize(TiledRaster& raster, const AcrossDistances& distances) const;

    // "bin=25;port=sum:count,...;starboard=..." and back (false with a reason).
    std::string Text() const;
    static bool FromText(const std::string& text, AcrossTable& table, std::string& error);

    // The mean of a side's bin (0 when empty), for tests and reports.
    double Mean(int side, std::size_t index) const;
    std::size_t Bins(int side) const { return sums[static_cast<std::size_t>(side)].size(); }

private:
    // The factor of each bin of a side; empty when no bin has enough samples.
    std::vector<double> BinFactors(int side, double overall) const;

    int bin = 0;
    std::array<std::vector<std::uint64_t>, 2> sums, counts;
};

}  // namespace svx
