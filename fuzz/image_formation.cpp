// Image formation with values as a damaged or hostile data file could give them: ranges,
// intervals and speeds of any sign or size (NaN and infinity too), any side mode, image sizes
// and intensity factors, and echo lines of any content; then re-draws and side-mode changes.
// One document serves every input (creating one clears its 29 MB history ring).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "document/CVantrelDoc.h"
#include "support/NullPlatform.h"

namespace {

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}
    bool Empty() const { return position >= size; }
    std::uint8_t Byte() { return position < size ? data[position++] : 0; }
    template <typename T>
    T Value() {
        std::uint8_t bytes[sizeof(T)] = {};
        for (auto& b : bytes) b = Byte();
        T value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

CVantrelDoc& Document() {
    static NullPlatform platform;
    static CVantrelDoc doc(platform);
    return doc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    CVantrelDoc& doc = Document();
    doc.ResetHistory();
    const std::uint8_t flags = in.Byte();
    doc.images.compositeMode = flags & 1;
    doc.playbackMode = (flags >> 1) & 1;
    doc.images.sideMode = static_cast<std::int8_t>(in.Byte()) % 5;
    const int width = 4 * (1 + in.Byte() % 64);
    const int rows = 1 + in.Byte() % 80;
    doc.images.AllocateComposite(width, rows);
    for (int c = 0; c < 3; ++c) {
        doc.images.AllocateChannelImage(c, width + 4 * c, rows + c);
        doc.ResetSlot(c);
    }
    doc.ResetSlot(kCompositeSlot);
    doc.speed.useManualSpeed = (flags >> 2) & 1;
    doc.speed.useGpsSpeed = (flags >> 3) & 1;
    doc.speed.speedCorrection = (flags >> 4) & 1;
    doc.gps.readerExists = (flags >> 5) & 1;
    doc.replyDataLength = in.Value<std::int16_t>();  // samples per side, damaged or not

    while (!in.Empty()) {
        doc.range = in.Value<std::int16_t>();
        doc.history.pingIntervalMs = in.Value<std::int32_t>();
        doc.speed.manualSpeedKnots = in.Value<double>();
        doc.gps.shipSpeedKnots = in.Value<float>();
        doc.gps.speedText = (in.Byte() & 1) ? "n/a" : "1.0 Knots";
        doc.history.separatorPending = in.Byte() & 1;
        for (int c = 0; c < 3; ++c) {
            doc.heads[c].available = in.Byte() & 1;
            doc.images.slotStates[c].intensityFactor = in.Byte() / 100.0;
            doc.images.slotStates[c].zoomFactor = 1.0 + in.Byte() % 4;
            const int value = in.Byte();
            const int stride = 1 + in.Byte();
            for (int i = 0; i < kLineLength; ++i) {
                doc.heads[c].line[i] = static_cast<std::uint8_t>(value + i / stride);
            }
        }
        doc.images.held = in.Byte() % 8 == 0;
        doc.StoreCycle();
    }
    doc.images.held = 0;
    for (int c = 0; c < 3; ++c) doc.RedrawFromHistory(c, 0);
    doc.RebuildComposite();
    doc.SetSideMode(1 + doc.images.sideMode % 3);
    return 0;
}
