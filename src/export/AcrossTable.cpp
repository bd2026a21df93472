#include "export/AcrossTable.h"

#include <charconv>
#include <cmath>

namespace svx {

namespace {

constexpr const char* kSideNames[2] = {"port", "starboard"};

// "sum:count,sum:count" into the two vectors; false on anything else.
bool ParseBins(std::string_view text, std::vector<std::uint64_t>& sums,
               std::vector<std::uint64_t>& counts) {
    while (!text.empty()) {
        std::uint64_t sum = 0, count = 0;
        const char* end = text.data() + text.size();
        auto [p, e] = std::from_chars(text.data(), end, sum);
        if (e != std::errc() || p == end || *p != ':') return false;
        auto [q, f] = std::from_chars(p + 1, end, count);
        if (f != std::errc() || (q != end && (*q != ',' || q + 1 == end)) || sum > count * 255) {
            return false;
        }
        sums.push_back(sum);
        counts.push_back(count);
        text.remove_prefix(static_cast<std::size_t>(q - text.data()) + (q == end ? 0 : 1));
    }
    return true;
}

}  // namespace

int AcrossTable::BinStepsFor(double resolutionM) {
    return std::max(1, static_cast<int>(std::lround(5.0 * resolutionM / AcrossDistances::kStepM)));
}

bool AcrossTable::Merge(const AcrossTable& other) {
    if (other.bin == 0) return true;
    if (bin != 0 && bin != other.bin) return false;
    bin = other.bin;
    for (std::size_t side = 0; side < 2; ++side) {
        const auto& s = other.sums[side];
        if (s.size() > sums[side].size()) {
            sums[side].resize(s.size(), 0);
            counts[side].resize(s.size(), 0);
        }
        for (std::size_t i = 0; i < s.size(); ++i) {
            sums[side][i] += s[i];
            counts[side][i] += other.counts[side][i];
        }
    }
    return true;
}

bool AcrossTable::Empty() const {
    for (const auto& c : counts) {
        for (const std::uint64_t n : c) {
            if (n > 0) return false;
        }
    }
    return true;
}

double AcrossTable::Mean(int side, std::size_t index) const {
    const auto s = static_cast<std::size_t>(side);
    if (index >= counts[s].size() || counts[s][index] == 0) return 0.0;
    return double(sums[s][index]) / double(counts[s][index]);
}

std::vector<double> AcrossTable::BinFactors(int side, double overall) const {
    const auto& c = counts[static_cast<std::size_t>(side)];
    std::vector<double> factor(c.size(), 0.0);
    std::vector<std::size_t> trusted;
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (c[i] < kMinSamples) continue;
        const double mean = Mean(side, i);
        factor[i] = std::clamp(mean > 0 ? overall / mean : kMaxGain, 1.0 / kMaxGain, kMaxGain);
        trusted.push_back(i);
    }
    if (trusted.empty()) return {};
    // A bin of too few samples takes the factor of the nearest trusted bin (the nearer one
    // to the nadir on a tie).
    std::size_t t = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        while (t + 1 < trusted.size() && trusted[t + 1] <= i) ++t;
        std::size_t pick = trusted[t];
        if (pick < i && t + 1 < trusted.size() && trusted[t + 1] - i < i - pick) pick = trusted[t + 1];
        factor[i] = factor[pick];
    }
    return factor;
}

std::vector<float> AcrossTable::Factors() const {
    std::vector<float> factors(0x10000, 1.0f);
    std::uint64_t sum = 0, count = 0;
    for (std::size_t s = 0; s < 2; ++s) {
        for (std::size_t i = 0; i < sums[s].size(); ++i) sum += sums[s][i], count += counts[s][i];
    }
    if (count == 0 || bin == 0) return factors;
    const double overall = double(sum) / double(count);
    for (int side = 0; side < 2; ++side) {
        const std::vector<double> perBin = BinFactors(side, overall);
        if (perBin.empty()) continue;  // a side without any trusted bin stays as it is
        for (int steps = 1; steps <= AcrossDistances::kMaxSteps; ++steps) {
            const std::size_t index = std::min(
                static_cast<std::size_t>(steps - 1) / static_cast<std::size_t>(bin), perBin.size() - 1);
            factors[static_cast<std::size_t>((steps << 1) | side)] = static_cast<float>(perBin[index]);
        }
    }
    return factors;
}

void AcrossTable::Normalize(TiledRaster& raster, const AcrossDistances& distances) const {
    const std::vector<float> factors = Factors();
    distances.ForEachTile([&](std::int64_t tc, std::int64_t tr, const AcrossDistances::Tile& d) {
        TiledRaster::Tile& tile = raster.TileForWrite(tc, tr);
        for (std::size_t i = 0; i < tile.size(); ++i) {
            if (tile[i] == 0 || d[i] == AcrossDistances::kNone) continue;
            const float v = std::clamp(tile[i] * factors[d[i]] + 0.5f, 1.0f, 255.0f);
            tile[i] = static_cast<std::uint8_t>(v);  // rounded: both are positive
        }
    });
}

std::string AcrossTable::Text() const {
    std::string text = "bin=" + std::to_string(bin);
    for (std::size_t side = 0; side < 2; ++side) {
        text += std::string(";") + kSideNames[side] + "=";
        for (std::size_t i = 0; i < sums[side].size(); ++i) {
            text += (i ? "," : "") + std::to_string(sums[side][i]) + ":" +
                    std::to_string(counts[side][i]);
        }
    }
    return text;
}

bool AcrossTable::FromText(const std::string& text, AcrossTable& table, std::string& error) {
    AcrossTable read;
    std::string_view rest = text;
    const auto field = [&rest](std::string_view name, std::string_view& value) {
        if (!rest.starts_with(name) || rest.size() <= name.size() || rest[name.size()] != '=') {
            return false;
        }
        const std::size_t end = rest.find(';');
        value = rest.substr(name.size() + 1, end == std::string_view::npos ? rest.npos
                                                                            : end - name.size() - 1);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        return true;
    };
    std::string_view value;
    int bin = 0;
    bool ok = field("bin", value) &&
              std::from_chars(value.data(), value.data() + value.size(), bin).ec == std::errc() &&
              bin > 0 && bin <= AcrossDistances::kMaxSteps;
    for (std::size_t side = 0; ok && side < 2; ++side) {
        ok = field(kSideNames[side], value) && ParseBins(value, read.sums[side], read.counts[side]) &&
             read.sums[side].size() <= static_cast<std::size_t>(AcrossDistances::kMaxSteps);
    }
    if (!ok || !rest.empty()) {
        error = "the across-track table is damaged";
        return false;
    }
    read.bin = bin;
    table = std::move(read);
    return true;
}

}  // namespace svx
