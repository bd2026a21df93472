#include "datafiles/XtfDisplayMap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/ByteOrder.h"
#include "datafiles/XtfPacketWalk.h"

namespace xtf {

namespace {

constexpr double kSpread = 100;  // the curve's range: top / 100 is the faintest step of 40 dB
constexpr double kPercentile = 0.995;
constexpr int kSampledPings = 64;
constexpr std::uint32_t kValuesPerChannel = 4096;
constexpr std::size_t kValuesPerPing = 16384;
// Packets walked from a scan's find to the next ping.
constexpr int kStepsToAPing = 8;

}  // namespace

// The table is filled a byte at a time: the first value of each next byte comes from the
// curve's inverse and is then settled against Map itself, so table and Map agree exactly.
DisplayMap::DisplayMap(double top_)
    : top(top_ > 0 ? top_ : 1), scale(kSpread / top), norm(254 / std::log1p(kSpread)) {
    constexpr std::uint32_t kValues = 65536;
    table16.assign(kValues, 254);
    std::uint32_t v = 0;
    for (int b = 0; b < 254 && v < kValues; ++b) {
        const double guess = std::ceil(std::expm1((b + 0.5) / norm) / scale);
        std::uint32_t next =
            guess < v ? v : (guess >= kValues ? kValues : static_cast<std::uint32_t>(guess));
        while (next > v && Map(static_cast<double>(next - 1)) > b) --next;
        while (next < kValues && Map(static_cast<double>(next)) <= b) ++next;
        std::fill(table16.begin() + v, table16.begin() + next, static_cast<std::uint8_t>(b));
        v = next;
    }
}

std::uint8_t DisplayMap::Map(double value) const {
    if (!(value > 0)) return 0;
    const double byte = std::round(norm * std::log1p(scale * value));
    return static_cast<std::uint8_t>(std::min(254.0, byte));
}

void DisplayMap::Map(const SampleView& samples, std::uint8_t* out) const {
    const std::uint8_t* p = samples.bytes;
    switch (samples.type) {
        case SampleType::UInt8:
            if (samples.count) std::memcpy(out, p, samples.count);
            return;
        case SampleType::UInt16:
            for (std::uint32_t i = 0; i < samples.count; ++i) out[i] = table16[GetLe16(p + 2 * i)];
            return;
        default:
            for (std::uint32_t i = 0; i < samples.count; ++i) out[i] = Map(samples.At(i));
            return;
    }
}

void GainSampler::Add(const Ping& ping) {
    std::size_t budget = kValuesPerPing;
    for (const Channel& channel : ping.channels) {
        const SampleView& s = channel.samples;
        if (SampleBytes(s.type) < 2) continue;
        const std::uint32_t stride = std::max<std::uint32_t>(1, s.count / kValuesPerChannel);
        for (std::uint32_t i = 0; i < s.count && budget > 0; i += stride, --budget) {
            const double v = s.At(i);
            if (v > 0 && std::isfinite(v)) values.push_back(static_cast<float>(v));
        }
    }
}

double GainSampler::Top() const {
    if (values.empty()) return 1;
    std::vector<float> sorted = values;
    const auto k = static_cast<std::ptrdiff_t>(kPercentile * static_cast<double>(sorted.size() - 1));
    std::nth_element(sorted.begin(), sorted.begin() + k, sorted.end());
    return sorted[static_cast<std::size_t>(k)];
}

DisplayMap DisplayMapForFile(svx::ByteSource& source, const FileDescription& file) {
    GainSampler sampler;
    PacketWalker walker(source, file);
    Ping ping;
    PacketStep step;
    const std::uint64_t first = file.headerLength, span = source.Size() - first;
    std::optional<std::uint64_t> last;
    for (int k = 0; k < kSampledPings; ++k) {
        const auto start = walker.FindPacketStart(first + span * static_cast<unsigned>(k) / kSampledPings);
        if (!start) break;
        walker.MoveTo(*start);
        for (int s = 0; s < kStepsToAPing && walker.Next(step, ping); ++s) {
            if (step.kind != PacketStep::Kind::Ping) continue;
            if (ping.offset != last) sampler.Add(ping);
            last = ping.offset;
            break;
        }
    }
    return DisplayMap(sampler.Top());
}

}  // namespace xtf
