#pragma once
// Collects one head's received bytes until a whole reply is there. TCP keeps no message
// boundaries, so a reply may arrive in several pieces; it is classified only once complete.

#include <array>
#include <cstdint>

#include "acquisition/HeadTable.h"

class ReplyAssembler {
public:
    std::uint8_t* WritePosition() { return bytes.data() + length; }
    int FreeSpace() const { return kReceiveBufferLength - length; }
    void Commit(int received) { length += received; }

    // The length of the whole reply at the front, or 0 while it is incomplete. While
    // discovering, bytes that begin with "ICX" make a 256-byte system-information reply; any
    // other reply is a 1128-byte data reply (a 1129th byte already here is taken with it, as
    // one receive of at most 1129 bytes would).
    int WholeReplyLength(bool discovering) const;
    const std::uint8_t* Data() const { return bytes.data(); }
    int Length() const { return length; }
    void Consume(int count);
    void Clear() { length = 0; }

private:
    bool StartsLikeSystemInfo() const;

    std::array<std::uint8_t, kReceiveBufferLength> bytes{};
    int length = 0;
};
