// Arbitrary bytes as an XTF file, through the reader alone: the file header, the walk over
// every packet (packets and damaged stretches must tile the file from the header's end to its
// end), every ping's fields and samples read and mapped to display bytes, the gain taken from
// pings spread over the file, and the pings read again after a rewind.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "datafiles/XtfDisplayMap.h"
#include "datafiles/XtfPacketWalk.h"
#include "datafiles/XtfReader.h"
#include "export/XtfFormat.h"

namespace {

// Where the values read go, so that no read is left out.
volatile std::uint64_t gSink = 0;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Every step of the walk lies inside the file, one after the other.
void WalkEveryPacket(svx::ByteSource& source, const xtf::FileDescription& file) {
    xtf::PacketWalker walker(source, file);
    xtf::PacketStep step;
    xtf::Ping ping;
    std::uint64_t covered = file.headerLength;
    while (walker.Next(step, ping)) {
        Check(step.offset == covered && step.length > 0);
        Check(step.offset + step.length <= source.Size());
        Check((step.kind == xtf::PacketStep::Kind::Damage) == (step.damage != xtf::PacketDamage::None));
        covered += step.length;
    }
    Check(covered == std::max<std::uint64_t>(file.headerLength, source.Size()));
    const auto start = walker.FindPacketStart(source.Size() / 2);
    Check(!start || *start >= source.Size() / 2);
}

// Reads every sample of the ping and maps it; returns a sum so nothing is optimised away.
std::uint64_t ReadPing(const xtf::Ping& ping, const xtf::FileDescription& file,
                       const xtf::DisplayMap& map, std::size_t size) {
    std::uint64_t sum = 0;
    std::vector<std::uint8_t> bytes;
    Check(ping.offset >= file.headerLength && ping.offset + ping.length <= size);
    for (const xtf::Channel& c : ping.channels) {
        Check(c.number < file.channels.size() && file.channels[c.number].SideScan());
        const xtf::SampleView& s = c.samples;
        const std::uint64_t length = std::uint64_t{s.count} * static_cast<std::uint64_t>(xtf::SampleBytes(s.type));
        Check(length + xtf::kPingHeaderLength + xtf::kChannelHeaderLength <= ping.length);
        bytes.resize(s.count);
        map.Map(s, bytes.data());
        for (std::uint32_t i = 0; i < s.count; ++i) {
            Check(bytes[i] <= 254 || s.type == xtf::SampleType::UInt8);
            sum += bytes[i];
            const double v = s.At(i);
            sum += std::isfinite(v) ? 1 : 0;
        }
    }
    if (ping.sensor) sum += std::isfinite(ping.sensor->y) ? 1 : 0;
    return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    svx::MemoryBytes source(data, size);
    xtf::Reader reader(source);
    std::string error;
    if (!reader.Open(error)) {
        Check(!error.empty() && error.find('\n') == std::string::npos);
        return 0;
    }
    const xtf::FileDescription& file = reader.File();
    Check(file.headerLength <= size && file.channels.size() <= xtf::kMaxDescribedChannels);
    WalkEveryPacket(source, file);

    const xtf::DisplayMap map = xtf::DisplayMapForFile(source, file);
    Check(map.Top() > 0);
    xtf::Ping ping;
    std::uint64_t pings = 0, sum = 0;
    while (reader.NextPing(ping)) {
        ++pings;
        sum += ReadPing(ping, file, map, size);
    }
    Check(pings == reader.Counts().pings);
    for (const xtf::DamagedStretch& stretch : reader.Damage()) {
        Check(stretch.bytes > 0 && stretch.offset + stretch.bytes <= size);
        Check(!xtf::DamageLine(stretch).empty());
    }
    reader.Rewind();
    std::uint64_t again = 0;
    while (reader.NextPing(ping)) ++again;
    Check(again == pings);
    gSink = sum;
    return 0;
}
