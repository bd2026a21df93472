// Arbitrary bytes from the heads: classified on their own and fed through the engine's
// reassembly in pieces, in discovery and in polling, for every head.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/CVantrelDoc.h"
#include "support/NullPlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::vector<std::uint8_t> exact(data, data + size);
        ClassifyReply(exact.data(), static_cast<int>(exact.size()));
    }
    if (size < 2) return 0;
    // One document for the whole run: creating one clears the 29 MB history.
    static NullPlatform platform;
    static CVantrelDoc doc(platform);
    doc.OnNewDocument();
    doc.DisconnectAll();  // empties every socket and reassembly buffer
    // The first byte chooses the mode and the connected heads, the second the piece size.
    doc.discoveryMode = data[0] & 1;
    for (int h = 0; h < kHeadCount; ++h) doc.heads[h].socket->connected = (data[0] >> (h + 1)) & 1;
    const std::size_t piece = 1 + data[1] * 8;
    for (std::size_t pos = 2; pos < size; pos += piece) {
        const std::size_t end = std::min(size, pos + piece);
        const int head = static_cast<int>(data[pos] % kHeadCount);
        auto& socket = static_cast<QueueSocket&>(*doc.heads[head].socket);
        socket.inbox.insert(socket.inbox.end(), data + pos, data + end);
        doc.OnReceive(head, 0);
    }
    return 0;
}
