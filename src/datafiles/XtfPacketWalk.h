#pragma once
// The walk over an XTF file's packets by their sizes, and the scan that steps over damage to
// the next packet that makes sense.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "datafiles/XtfReader.h"

namespace xtf {

// A sonar packet above this size is damage: it would hold 16 channels of 1 M four-byte
// samples. Packets of other types are stepped over without being read, whatever their size.
inline constexpr std::uint32_t kMaxSonarPacketLength = 64u << 20;

// Checks the sonar packet of `length` bytes at p (its mark, type and size already checked)
// and, when ping is given, decodes it into the ping (offset and length left to the caller).
PacketDamage DecodeSonarPacket(const std::uint8_t* p, std::uint32_t length,
                               const FileDescription& file, Ping* ping);

struct PacketStep {
    enum class Kind : std::uint8_t { Ping, Other, Damage };
    Kind kind = Kind::Damage;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    int headerType = 0;
    PacketDamage damage = PacketDamage::None;
};

class PacketWalker {
public:
    PacketWalker(svx::ByteSource& source, const FileDescription& file);

    // The next packet or damaged stretch from where the walk stands; false at the end. A
    // sonar packet is decoded into ping; its samples stay valid until the next call.
    bool Next(PacketStep& step, Ping& ping);
    // Continues the walk at this offset (taken as a packet start).
    void MoveTo(std::uint64_t offset) { at = offset; }
    std::uint64_t Position() const { return at; }

    // The first offset at or after `from` where a packet that makes sense starts.
    std::optional<std::uint64_t> FindPacketStart(std::uint64_t from);

private:
    PacketDamage Check(std::uint64_t offset, PacketStep& step, Ping* ping);
    bool MakesSense(std::uint64_t offset);
    // The bytes [offset, offset + n) of the file (n within the file).
    const std::uint8_t* Bytes(std::uint64_t offset, std::size_t n);

    svx::ByteSource& source;
    const FileDescription& file;
    std::uint64_t end;
    std::uint64_t at;
    std::vector<std::uint8_t> window;
    std::uint64_t windowStart = 0;
    std::size_t windowFilled = 0;
    Ping scratch;
};

}  // namespace xtf
