// Arbitrary bytes as GPS receiver output: framed and decoded in reads of varying size (the
// first byte sets the chunk length and the decoding context), then each received sentence
// decoded again as playback does, with the batch end adding track points.

#include <cstddef>
#include <cstdint>

#include "gps/GpsState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t chunk = 1 + data[0] % 97;
    const GpsDecodeContext context{data[0] % 4, (data[0] & 0x80) != 0};
    GpsState gps;
    const char* text = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = size - 1;
    for (std::size_t at = 0; at < length; at += chunk) {
        const std::size_t n = length - at < chunk ? length - at : chunk;
        gps.DecodeRead(text + at, n, context);
    }
    gps.DecodeRead(text, length, context);
    {
        std::lock_guard<std::mutex> guard(gps.lock);
        gps.recentSentences = gps.sentenceRing;
        gps.readerExists = 1;
    }
    gps.ReplayRecordedSentences(context);
    std::lock_guard<std::mutex> guard(gps.lock);
    gps.Reset(true);
    return 0;
}
