#include "datafiles/XtfReader.h"

#include "datafiles/XtfPacketWalk.h"

namespace xtf {

Reader::Reader(svx::ByteSource& source) : source(source) {}

Reader::~Reader() = default;

bool Reader::Open(std::string& error) {
    walker.reset();
    damage.clear();
    counts = {};
    if (!ReadFileDescription(source, file, error)) return false;
    walker = std::make_unique<PacketWalker>(source, file);
    return true;
}

void Reader::Rewind() {
    if (walker) walker->MoveTo(file.headerLength);
    damage.clear();
    counts = {};
}

void Reader::MoveTo(std::uint64_t offset) {
    if (walker) walker->MoveTo(offset);
}

void Reader::AddDamage(const DamagedStretch& stretch) {
    if (!damage.empty() && damage.back().offset + damage.back().bytes == stretch.offset) {
        damage.back().bytes += stretch.bytes;
        return;
    }
    damage.push_back(stretch);
}

bool Reader::NextPing(Ping& ping) {
    if (!walker) return false;
    PacketStep step;
    while (walker->Next(step, ping)) {
        switch (step.kind) {
            case PacketStep::Kind::Damage:
                AddDamage({step.offset, step.length, step.damage});
                break;
            case PacketStep::Kind::Other:
                ++counts.otherPackets;
                break;
            case PacketStep::Kind::Ping:
                counts.steppedChannels += static_cast<std::uint64_t>(ping.steppedChannels);
                if (ping.channels.empty()) {
                    ++counts.pingsWithoutSideScan;
                    break;
                }
                ++counts.pings;
                return true;
        }
    }
    return false;
}

}  // namespace xtf
