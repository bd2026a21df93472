// The live path of image formation: one stored ping becomes the top rows of an image.

#include <algorithm>
#include <cstring>

#include "imaging/Blend.h"
#include "imaging/ImageSet.h"
#include "imaging/RowAdvance.h"

namespace {

bool AllSideScanHeadsAvailable(const FormationInputs& in) {
    return in.available[0] && in.available[1] && in.available[2];
}

std::uint8_t AdvanceByte(int a) {
    return static_cast<std::uint8_t>(std::min(a, 255));
}

// A row blended between two pings of a channel image reads the newer ping's time and place,
// as the composite's rows do (and as a re-draw stamps them): without it the pointer over most
// rows of a fast-advancing image would show no time and no date.
void StampBlendedRow(RowInfoRing& stamps, int row) {
    if (row >= stamps.Rows()) return;
    stamps.Row(row).time = stamps.Row(0).time;
    stamps.Row(row).texts = stamps.Row(0).texts;
}

// After a scroll by a, row a holds the line that was on top: it gets back the time and place
// of that line's own ping (row 0 has been stamped for the new ping already), as a re-draw
// stamps it.
void KeepTimeOfScrolledTop(RowInfoRing& stamps, const RowInfo& drawnTop, int a) {
    if (a <= 0 || a >= stamps.Rows()) return;
    stamps.Row(a).time = drawnTop.time;
    stamps.Row(a).texts = drawnTop.texts;
}

}  // namespace

int ImageSet::ComputeRowAdvance(const FormationInputs& in, int recordIndex, int mode,
                                bool composite, int channel) {
    if (channel < 0 || channel >= kSlotCount) return rowAdvance = 0;
    const int slot = composite ? kCompositeSlot : channel;
    const int width = slot == kCompositeSlot ? composite24.Width() : slotStates[slot].image.Width();
    const HistoryRecord& record = in.history->Record(recordIndex);
    // The composite slot outside composite mode stands for the echo sounder.
    const int range = (slot == kCompositeSlot && !composite) ? record.esRange : record.range;
    const double knots =
        in.speed->SpeedForPing(record.speedKnots, NavTextKnown(record.texts[kNavSpeed]));
    const RowAdvance advance = ComputeAdvance(slotStates[slot].remainder, width, range, mode,
                                              record.pingIntervalMs, knots);
    slotStates[slot].remainder = advance.remainder;
    rowAdvance = advance.rows;
    return advance.rows;
}

void ImageSet::SetCompositeBytes(int channel, int row) {
    const std::uint8_t* plane = planes[channel].Row(row);
    std::uint8_t* rgb = composite24.Row(row) + channel;
    const ByteTable& table = tables[channel].composite;
    const int width = composite24.Width();
    // Eight pixels at a time, their plane bytes read before any colour byte is written: bytes
    // may alias, so the compiler would read each plane byte again after every write.
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        std::uint8_t v[8];
        std::memcpy(v, plane + x, sizeof v);
        std::uint8_t* out = rgb + 3 * x;
#pragma GCC unroll 8
        for (int k = 0; k < 8; ++k) out[3 * k] = table[v[k]];
    }
    for (; x < width; ++x) rgb[3 * x] = table[plane[x]];
}

const std::uint8_t* ImageSet::ChannelLine(const FormationInputs& in, int channel, int zoomSlot,
                                          int width) {
    const double zoom = slotStates[zoomSlot].zoomFactor;
    SharedLine& shared = sharedLines[channel];
    if (zoomSlot != kCompositeSlot && sharingLines && shared.valid && shared.width == width &&
        shared.zoom == zoom) {
        return shared.pixels.data();
    }
    const bool keep = zoomSlot == kCompositeSlot && sharingLines;
    std::uint8_t* out = keep ? shared.pixels.data() : line.data();
    const HistoryRecord& record = in.history->Record(in.history->writeIndex);
    samplesPerPixel = BuildLine(record.lines[channel].data(), sideMode, SamplesPerSide(in), width,
                                zoom, out, plans[zoomSlot]);
    shared.valid = keep;
    shared.width = width;
    shared.zoom = zoom;
    return out;
}

void ImageSet::AddCycleToImage(const FormationInputs& in, int channel, bool composite,
                               int advance) {
    if (channel < 0 || channel >= kSideScanChannels) return;
    RingImage& image = ImageFor(channel, composite);
    if (!image.Exists()) return;
    const int rows = image.Rows();
    const int width = image.Width();
    const int a = std::clamp(advance, 0, rows - 1);
    const HistoryRecord& record = in.history->Record(in.history->writeIndex);

    // 1. Scroll. Plane 0 carries the 24-bit image and the composite stamps with it; the
    // 24-bit bytes of a head that is not available are not rewritten below, so they keep
    // what the top rows held, as a block move would leave them.
    if (a > 0) {
        image.ScrollDown(a);
        if (!composite) {
            ImageSlot& slot = slotStates[channel];
            slot.rowInfo.ScrollDownKeepingTop(a);
            KeepTimeOfScrolledTop(slot.rowInfo, slot.drawnTopStamp, a);
        } else if (channel == 0) {
            composite24.ScrollDown(a);
            if (!AllSideScanHeadsAvailable(in)) composite24.RestoreTopRows(a);
            ImageSlot& slot = slotStates[kCompositeSlot];
            slot.rowInfo.ScrollDownKeepingTop(a);
            KeepTimeOfScrolledTop(slot.rowInfo, slot.drawnTopStamp, a);
        }
    }

    // 2-4. The new line in row 0 (merged by maximum when the ping adds no row), clipped and
    // scaled by the channel's intensity.
    const std::uint8_t* built =
        ChannelLine(in, channel, composite ? kCompositeSlot : channel, width);
    std::uint8_t* top = image.Row(0);
    if (a > 0) {
        std::memcpy(top, built, static_cast<std::size_t>(width));
    } else {
        for (int x = 0; x < width; ++x) top[x] = std::max(top[x], built[x]);
    }
    ClipRange(top, width, in.range, ClipMaxRange(in.frequencyHz[channel], in.range), sideMode);
    tables[channel].Update(slotStates[channel].intensityFactor);
    const ByteTable& scale = tables[channel].scale;
    for (int x = 0; x < width; ++x) top[x] = scale[top[x]];

    // 5-6. Composite colour byte and the ping's stamp in row 0.
    const bool drawsColour = composite && in.available[channel];
    if (drawsColour) SetCompositeBytes(channel, 0);
    RowInfoRing& stamps = slotStates[channel == 0 ? kCompositeSlot : channel].rowInfo;
    if (composite) {
        // The ping number of the stored record: the recorder has counted on by now.
        stamps.Row(0).pingNumber = record.pingNumber;
        stamps.Row(0).advance = AdvanceByte(a);
    }

    // 7. Blend the rows between the new ping and the previous one, bottom up.
    for (int i = a - 1; i >= 1; --i) {
        BlendRow(image.Row(i), image.Row(i + 1), top, width, i, a);
        if (!composite) {
            StampBlendedRow(slotStates[channel].rowInfo, i);
            continue;
        }
        if (drawsColour) SetCompositeBytes(channel, i);
        if (i < stamps.Rows()) stamps.Row(i) = stamps.Row(0);
    }

    // Playback wrapped to the start of its file with this ping: its row marks the seam.
    if (record.wrapSeparator && in.playbackMode) DrawSeparatorRow(channel, composite);

    // 8. The composite row counter follows plane 0.
    if (composite && channel == 0) {
        compositeRowCounter += a;
        rowsFilled = std::min(rowsFilled + a, rows);
    }
}

void ImageSet::DrawSeparatorRow(int channel, bool composite) {
    RingImage& image = ImageFor(channel, composite);
    const int width = image.Width();
    // With the composite the seam covers the starboard half of every line (yellow in the
    // 24-bit image), otherwise the whole line of the channel image.
    const int from = compositeMode ? width / 2 : 0;
    std::memset(image.Row(0) + from, kLinePixel, static_cast<std::size_t>(width - from));
    if (!composite) return;
    std::uint8_t* rgb = composite24.Row(0);
    const std::uint8_t value = channel == 2 ? 0 : kLinePixel;
    for (int x = from; x < width; ++x) rgb[3 * x + channel] = value;
}

void ImageSet::CompositeUpdate(const FormationInputs& in, int recordIndex) {
    sharingLines = true;
    for (SharedLine& shared : sharedLines) shared.valid = false;
    if (CompositeExists()) {
        const int a = ComputeRowAdvance(in, recordIndex, sideMode, true, 0);
        for (int channel = 0; channel < kSideScanChannels; ++channel) {
            AddCycleToImage(in, channel, true, a);
        }
    }
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        if (!slotStates[channel].image.Exists()) continue;
        const int a = ComputeRowAdvance(in, recordIndex, sideMode, false, channel);
        AddCycleToImage(in, channel, false, a);
    }
    sharingLines = false;
}
