#include "imaging/ImageSet.h"

#include <algorithm>

namespace {

int ClampWidth(int width) {
    return std::clamp(width, 0, kMaxImageWidth);
}
int ClampRows(int rows) {
    return std::clamp(rows, 0, kMaxImageRows);
}

}  // namespace

ImageSize ComputeImageSize(int zoomMode, int clientWidth) {
    const int w4 = std::max(4, ((clientWidth + 3) / 4) * 4);
    ImageSize size;
    if (zoomMode == kZoomFillScreen) {
        size.width = std::min(w4, kMaxImageWidth);
        size.rows = kFillScreenRows;
        size.zoomFactor = size.width / 2000.0;
        size.displayScale = 1.0f;
        return size;
    }
    size.zoomFactor = zoomMode == kZoom200 ? 2.0 : 1.0;
    size.width = size.rows = static_cast<int>(2000 * size.zoomFactor + 0.5);
    size.displayScale = static_cast<float>(size.width) / static_cast<float>(w4);
    return size;
}

const RowInfo& ImageSet::RowStamp(int slot, int row) const {
    static const RowInfo empty{};
    if (slot < 0 || slot >= kSlotCount) return empty;
    const RowInfoRing& stamps = slotStates[slot].rowInfo;
    return row >= 0 && row < stamps.Rows() ? stamps.Row(row) : empty;
}

int ImageSet::CompositeRowOfPing(std::int32_t ping) const {
    const int rows = composite24.Exists() ? composite24.Rows() : 0;
    for (int b = 0; b < rows; ++b) {
        if (RowStamp(kCompositeSlot, b).pingNumber == ping) return b;
    }
    for (int b = 0; b + 1 < rows; ++b) {
        const std::int32_t here = RowStamp(kCompositeSlot, b).pingNumber;
        const std::int32_t below = RowStamp(kCompositeSlot, b + 1).pingNumber;
        if (here > ping && below > 0 && below < ping) return b;
    }
    return -1;
}

void ImageSet::AllocateChannelImage(int slot, int width, int rows) {
    ImageSlot& target = slotStates[slot];
    target.image.Allocate(ClampWidth(width), ClampRows(rows), 1);
    target.rowInfo.Follow(target.image.Rows());
}

void ImageSet::ReleaseChannelImage(int slot) {
    slotStates[slot].image.Release();
    slotStates[slot].rowInfo.Follow(0);
}

void ImageSet::AllocateComposite(int width, int rows) {
    width = ClampWidth(width);
    rows = ClampRows(rows);
    for (RingImage& plane : planes) plane.Allocate(width, rows, 1);
    composite24.Allocate(width, rows, 3);
    slotStates[kCompositeSlot].rowInfo.Follow(composite24.Rows());
}

void ImageSet::ReleaseComposite() {
    for (RingImage& plane : planes) plane.Release();
    composite24.Release();
    slotStates[kCompositeSlot].rowInfo.Follow(0);
}

void ImageSet::ResetSlot(int slot) {
    if (slot == kCompositeSlot) {
        composite24.Zero();
        for (RingImage& plane : planes) plane.Zero();
        compositeRowCounter = 0;
        heldRowCounter = 0;
    } else {
        slotStates[slot].image.Zero();
    }
    slotStates[slot].remainder = 0.0;
    slotStates[slot].rowInfo.Reset();
}

void ImageSet::ClearScreen() {
    composite24.Zero();
    for (RingImage& plane : planes) plane.Zero();
    for (int slot = 0; slot < kCompositeSlot; ++slot) slotStates[slot].image.Zero();
    echoImage.Zero();
}

void ImageSet::StampNewestRow(const std::array<char, 12>& time, const NavigationTexts* texts) {
    for (ImageSlot& slot : slotStates) {
        RowInfo& row = slot.rowInfo.Row(0);
        slot.drawnTopStamp = row;
        row.time = time;
        if (texts) row.texts = *texts;
    }
}
