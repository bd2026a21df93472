#pragma once
// One simulated head's side of the protocol, without any networking: bytes received on a
// connection go in, what the head sends back comes out as timed segments. The TCP server of
// sonvara-headsim carries these out; tests call them directly.
//
// A head answers the system-information request (command 0x99) with the installation's "ICX"
// reply and a data request (0x44) with a 1128-byte reply that repeats the half select. Faults
// can be injected per head (see HeadFaults).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "SimReplies.h"
#include "SimScene.h"

namespace sim {

// Fault injection of one head. An "every" value N > 0 makes the fault hit every Nth request
// the head receives (1 = every request); 0 turns it off.
struct HeadFaults {
    int delayMs = 0;     // added before every reply
    int splitEvery = 0;  // reply in two segments with a pause between them
    int splitPauseMs = 20;
    int shortEvery = 0;      // only the first 1000 bytes of a data reply
    int longEvery = 0;       // 1129 bytes (one extra byte)
    int wrongKindEvery = 0;  // kind byte 0x33 instead of the half select
    int statusEvery = 0;     // status byte with the bits 0x7C set
    int silentEvery = 0;     // no answer at all
    int closeAfter = 0;      // close the connection after this many replies on it (0: never)

    bool Any() const;
};

// The installation every head describes in its system-information reply.
struct Installation {
    std::array<bool, kHeadCount> present{true, true, true, true};
    std::array<std::string, kHeadCount> addresses{"127.0.0.2", "127.0.0.3", "127.0.0.4",
                                                  "127.0.0.5"};
    bool orientation = true;
    std::string serialNumber = "SV2026";
};
SimSystemInfo SystemInfoOf(const Installation& installation);

// What the head sends for one request: the segments in order, each `delayMs` after the
// previous one (the first after receipt), then optionally closes the connection.
struct ReplySegment {
    int delayMs = 0;
    std::vector<std::uint8_t> bytes;
};
struct HeadResponse {
    std::vector<ReplySegment> segments;
    bool close = false;
    std::string log;  // one line describing the request and how it deviates from the 128-byte form
};

// Receive state of one connection: a request may arrive in pieces.
struct SimConnection {
    std::vector<std::uint8_t> pending;
    int startPiece = 0;  // size of the receive in which the pending request began
    int repliesSent = 0;
};

inline constexpr int kRequestLength = 128;

// One line about a request: head, command byte, half select, range and gain, and every
// deviation from the 128-byte form (start and end bytes, head kind at 15, the constants at 50
// and 52). `receivedLength` is the size of the receive the request began in: anything but 128
// means it was split or came together with another request.
std::string DescribeRequest(int head, const std::uint8_t* request, int receivedLength);

class SimHead {
public:
    SimHead(int head, const Installation& installation, const Scene& scene, HeadFaults faults,
            bool fast);

    // The bytes just received on a connection; returns one response per whole request.
    std::vector<HeadResponse> Receive(SimConnection& connection, const std::uint8_t* data,
                                      int length);

    // From now on the head answers as if no fault had been injected.
    void EndFaults() { faults = {}; }

    int Head() const { return head; }
    std::uint32_t Ping() const { return ping; }
    std::uint64_t RequestCount() const { return requestCount; }

private:
    HeadResponse Answer(SimConnection& connection, const std::uint8_t* request, int receivedLength);
    std::vector<std::uint8_t> DataReply(const std::uint8_t* request);
    bool Hits(int every) const { return every > 0 && requestCount % every == 0; }

    int head;
    std::vector<std::uint8_t> systemInfoReply;
    const Scene& scene;
    HeadFaults faults;
    bool fast;
    std::uint64_t requestCount = 0;
    std::uint32_t ping = 0;
};

// The time a reply takes: the two-way travel of sound over the range at 1500 m/s.
int TravelTimeMs(int rangeM);

}  // namespace sim
