#include "datafiles/XtfPacketWalk.h"

#include <algorithm>
#include <cstring>

#include "common/ByteOrder.h"
#include "export/XtfFormat.h"

namespace xtf {

namespace {

// Bytes read at a time, by the walk and by the scan for a packet mark.
constexpr std::size_t kWindowLength = 1 << 20;
constexpr std::size_t kScanChunk = 64 << 10;
constexpr std::size_t kJumpReadAhead = 16 << 10;
constexpr int kSonarHeaderType = 0;
// Bytes a scan reads to judge a sonar packet before reading all of it: the ping header and
// the first channel header.
constexpr std::uint64_t kFirstChannelEnd = kPingHeaderLength + kChannelHeaderLength;

}  // namespace

PacketWalker::PacketWalker(svx::ByteSource& source, const FileDescription& file)
    : source(source), file(file), end(source.Size()), at(file.headerLength) {}

const std::uint8_t* PacketWalker::Bytes(std::uint64_t offset, std::size_t n) {
    if (offset >= windowStart && offset + n <= windowStart + windowFilled) {
        return window.data() + (offset - windowStart);
    }
    // A walk that goes on from the window reads a megabyte beyond the bytes asked for, so it
    // reads each part of the file about once whatever the packet sizes; a jump elsewhere (a
    // scan's candidate, a sampled ping) reads little more than it needs.
    const bool onward = offset >= windowStart && offset <= windowStart + windowFilled;
    const std::size_t want = static_cast<std::size_t>(
        std::min<std::uint64_t>(end - offset, n + (onward ? kWindowLength : kJumpReadAhead)));
    if (window.size() < want) window.resize(want);
    windowStart = offset;
    windowFilled = source.ReadAt(offset, window.data(), want);
    return windowFilled >= n ? window.data() : nullptr;
}

PacketDamage PacketWalker::Check(std::uint64_t offset, PacketStep& step, Ping* ping) {
    step = PacketStep{};
    step.offset = offset;
    const std::uint64_t remaining = end - offset;
    if (remaining < 2) return PacketDamage::NoMagic;
    const std::size_t prefix =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kPacketPrefixLength));
    const std::uint8_t* p = Bytes(offset, prefix);
    if (!p) return PacketDamage::CutOff;
    if (GetLe16(p) != kMagic) return PacketDamage::NoMagic;
    if (prefix < kPacketPrefixLength) return PacketDamage::CutOff;
    step.headerType = p[2];
    step.length = GetLe32(p + 10);
    const bool sonar = step.headerType == kSonarHeaderType;
    if (step.length < static_cast<std::uint64_t>(sonar ? kPingHeaderLength : kPacketPrefixLength)) {
        return PacketDamage::TooShort;
    }
    if (step.length > remaining) return PacketDamage::CutOff;
    if (!sonar) {
        step.kind = PacketStep::Kind::Other;
        return PacketDamage::None;
    }
    if (step.length > kMaxSonarPacketLength) return PacketDamage::Oversized;
    const auto length = static_cast<std::uint32_t>(step.length);
    p = Bytes(offset, length);
    if (!p) return PacketDamage::CutOff;
    const PacketDamage damage = DecodeSonarPacket(p, length, file, ping);
    if (damage != PacketDamage::None) return damage;
    step.kind = PacketStep::Kind::Ping;
    if (ping) {
        ping->offset = offset;
        ping->length = length;
    }
    return PacketDamage::None;
}

bool PacketWalker::Next(PacketStep& step, Ping& ping) {
    if (at >= end) return false;
    const PacketDamage damage = Check(at, step, &ping);
    if (damage == PacketDamage::None) {
        at += step.length;
        return true;
    }
    const std::uint64_t next = FindPacketStart(at + 1).value_or(end);
    step.kind = PacketStep::Kind::Damage;
    step.length = next - at;
    step.damage = damage;
    at = next;
    return true;
}

// A packet found by the scan must be more than two bytes that happen to read 0xFACE: a sonar
// packet must decode with at least one channel, any other packet must be followed by a
// packet mark or the end of the file.
bool PacketWalker::MakesSense(std::uint64_t offset) {
    const std::uint64_t remaining = end - offset;
    if (remaining >= kFirstChannelEnd) {
        const std::uint8_t* p = Bytes(offset, kFirstChannelEnd);
        if (p && p[2] == kSonarHeaderType &&
            (GetLe16(p + 4) == 0 || GetLe16(p + kPingHeaderLength) >= file.channels.size())) {
            return false;
        }
    }
    PacketStep probe;
    if (Check(offset, probe, &scratch) != PacketDamage::None) return false;
    if (probe.kind == PacketStep::Kind::Ping) return true;
    const std::uint64_t next = offset + probe.length;
    if (next == end) return true;
    if (end - next < 2) return false;
    const std::uint8_t* p = Bytes(next, 2);
    return p && GetLe16(p) == kMagic;
}

std::optional<std::uint64_t> PacketWalker::FindPacketStart(std::uint64_t from) {
    std::vector<std::uint8_t> chunk(kScanChunk);
    // The mark is stored little-endian: 0xCE, then 0xFA.
    constexpr std::uint8_t kLow = kMagic & 0xFF, kHigh = kMagic >> 8;
    for (std::uint64_t pos = from; pos + 1 < end;) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(kScanChunk, end - pos));
        const std::size_t got = source.ReadAt(pos, chunk.data(), want);
        if (got < 2) break;
        const std::uint8_t* first = chunk.data();
        const std::uint8_t* last = first + got - 1;  // a mark starting here has its second byte
        for (const std::uint8_t* c = first; c < last; ++c) {
            c = static_cast<const std::uint8_t*>(std::memchr(c, kLow, static_cast<std::size_t>(last - c)));
            if (!c) break;
            if (c[1] == kHigh && MakesSense(pos + (c - first))) return pos + (c - first);
        }
        pos += got - 1;
    }
    return std::nullopt;
}

}  // namespace xtf
