// Re-drawing images from the ping history: after a size, zoom, side-mode, speed or hold
// change the images are rebuilt from the stored pings, newest at the top.

#include <algorithm>
#include <cstring>

#include "imaging/ImageSet.h"

namespace {

void StampFromRecord(RowInfo& info, const HistoryRecord& record, int a) {
    info.time = record.time;
    info.texts = record.texts;
    info.altitudeM = record.altitudeM;
    info.headingDeg = record.headingDeg;
    info.advance = static_cast<std::uint8_t>(std::min(a, 255));
    info.pingNumber = record.pingNumber;
}

}  // namespace

void ImageSet::DrawRedrawRecord(RingImage& image, RowInfoRing& stamps, int channel, int row, int a,
                                const HistoryRecord& record) {
    const int width = image.Width();
    const ByteTable& scale = tables[channel].scale;
    if (row == 0) {
        for (int r = 0; r < a; ++r) {
            std::uint8_t* out = image.Row(r);
            for (int x = 0; x < width; ++x) out[x] = scale[line[x]];
        }
        return;
    }
    if (a == 0) {
        std::uint8_t* out = image.Row(row);
        for (int x = 0; x < width; ++x) out[x] = scale[std::max(out[x], line[x])];
        return;
    }
    // Rows between the newer ping (previousLine, above) and this one, which ends the span:
    // intensity x (newer x (a - j) / a + this x j / a). The mix is summed in integers and
    // divided once, so that a whole-number mix stays whole before the intensity applies.
    const double factor = std::clamp(slotStates[channel].intensityFactor, 0.0, 2.0);
    for (int j = 1; j <= a; ++j) {
        std::uint8_t* out = image.Row(row + j - 1);
        for (int x = 0; x < width; ++x) {
            const int sum = previousLine[x] * (a - j) + line[x] * j;
            const int value = static_cast<int>(factor * (static_cast<double>(sum) / a));
            out[x] = static_cast<std::uint8_t>(std::min(value, int{kMaxEchoPixel}));
        }
        if (row + j - 1 < stamps.Rows()) StampFromRecord(stamps.Row(row + j - 1), record, a);
    }
}

void ImageSet::RedrawFromHistory(const FormationInputs& in, int channel, bool composite) {
    if (channel < 0 || channel >= kSideScanChannels) return;
    RingImage& image = ImageFor(channel, composite);
    if (!image.Exists()) return;
    RowInfoRing& stamps = slotStates[composite ? kCompositeSlot : channel].rowInfo;
    const int rows = image.Rows();
    const int width = image.Width();
    const PingHistory& history = *in.history;
    const int slot = composite ? kCompositeSlot : channel;
    const double zoom = slotStates[slot].zoomFactor;
    tables[channel].Update(slotStates[channel].intensityFactor);
    std::fill(previousLine.begin(), previousLine.end(), std::uint8_t{0});

    int row = 0;
    for (int k = 1; k < kHistoryLength; ++k) {
        const int index = history.IndexBack(k);
        if (index < 0) break;  // the oldest record of a ring that has not wrapped
        const HistoryRecord& record = history.Record(index);
        const int a = ComputeRowAdvance(in, index, sideMode, composite, channel);
        samplesPerPixel = BuildLine(record.lines[channel].data(), sideMode, SamplesPerSide(in),
                                    width, zoom, line.data(), plans[slot]);
        if (row < stamps.Rows()) StampFromRecord(stamps.Row(row), record, a);
        if (row >= rows - a) break;
        ClipRange(line.data(), width, record.range,
                  ClipMaxRange(in.frequencyHz[channel], record.range), sideMode);
        DrawRedrawRecord(image, stamps, channel, row, a, record);
        // Playback wrapped from the end of the file to its start here: mark the seam.
        if (record.wrapSeparator && in.playbackMode && row - 1 > 0) {
            std::memset(image.Row(row - 1), kLinePixel, static_cast<std::size_t>(width));
        }
        if (composite && channel == 0) compositeRowCounter += a;
        row += a;
        std::memcpy(previousLine.data(), line.data(), static_cast<std::size_t>(width));
        if (row >= rows) break;
    }
    rowsFilled = row;
}

bool ImageSet::RebuildComposite(const FormationInputs& in) {
    if (!compositeMode || !CompositeExists()) return false;
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        slotStates[kCompositeSlot].remainder = 0.0;
        RedrawFromHistory(in, channel, true);
    }
    // The planes already carry each channel's intensity factor.
    static const ByteTable unit = MakeCompositeTable(1.0);
    const int width = composite24.Width();
    for (int r = 0; r < composite24.Rows(); ++r) {
        std::uint8_t* rgb = composite24.Row(r);
        for (int channel = 0; channel < kSideScanChannels; ++channel) {
            const std::uint8_t* plane = planes[channel].Row(r);
            for (int x = 0; x < width; ++x) rgb[3 * x + channel] = unit[plane[x]];
        }
    }
    return true;
}
