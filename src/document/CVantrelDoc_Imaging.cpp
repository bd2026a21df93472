// The document's image-formation operations and commands: thin wrappers that hand the
// document's current values to the ImageSet, plus the command side effects (timers, views).

#include "document/CVantrelDoc.h"
#include "platform/TimerIds.h"

FormationInputs CVantrelDoc::CurrentFormationInputs() const {
    FormationInputs in;
    in.history = &history;
    in.speed = &speed;
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        in.frequencyHz[channel] = heads[channel].frequencyHz;
        // The composite shows a played head in every record of its file, with an empty line
        // where a record lacks it, as the live images showed it.
        in.available[channel] =
            heads[channel].available || (playbackMode && playback.headsSeen[channel]);
    }
    in.range = range;
    in.pingNumber = recording.pingNumber;
    in.samplesPerSide = replyDataLength;
    in.playbackMode = playbackMode;
    return in;
}

int CVantrelDoc::ComputeRowAdvance(int recordIndex, int sideMode, int composite, int channel) {
    return images.ComputeRowAdvance(CurrentFormationInputs(), recordIndex, sideMode, composite != 0,
                                    channel);
}

void CVantrelDoc::AddCycleToImage(int channel, int composite, int rowAdvance) {
    images.AddCycleToImage(CurrentFormationInputs(), channel, composite != 0, rowAdvance);
}

void CVantrelDoc::CompositeUpdate(int recordIndex) {
    images.CompositeUpdate(CurrentFormationInputs(), recordIndex);
}

void CVantrelDoc::RedrawFromHistory(int channel, int composite) {
    images.RedrawFromHistory(CurrentFormationInputs(), channel, composite != 0);
    observer->UpdateAllViews();
}

void CVantrelDoc::RebuildComposite() {
    if (images.RebuildComposite(CurrentFormationInputs())) RebuildEventMarkers();
}

void CVantrelDoc::ResetSlot(int slot) {
    images.ResetSlot(slot);
    if (slot == kCompositeSlot) ClearEventMarkers();
}

void CVantrelDoc::RedrawSideScanImages() {
    RebuildComposite();
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        if (images.ChannelImage(channel).Exists()) RedrawFromHistory(channel, 0);
    }
    observer->UpdateAllViews();
}

void CVantrelDoc::CheckLayoutChange() {
    const std::array<std::int32_t, 4> layout{images.compositeMode, displayChannelA, displayChannelB,
                                             orientationPresent};
    if (layout == images.lastLayout) return;
    observer->LayoutChanged();
    images.lastLayout = layout;
}

void CVantrelDoc::ClearScreen() {
    images.ClearScreen();
    observer->UpdateAllViews();
}

void CVantrelDoc::ToggleHold() {
    if (images.heldByEventDialog) return;
    if (!images.held) {
        images.held = 1;
        if (playbackMode) PausePlayback();
        images.heldRowCounter = images.compositeRowCounter;
    } else {
        images.held = 0;
        if (playbackMode) {
            ResumePlayback();
        } else if (images.compositeMode) {
            RedrawSideScanImages();
            RedrawEchoSounderImage();
        } else {
            RedrawFromHistory(displayChannelA, 0);
            if (displayChannelB != displayChannelA) RedrawFromHistory(displayChannelB, 0);
        }
    }
    observer->UpdateAllViews();
}

void CVantrelDoc::SetSideMode(int mode) {
    if (mode < 1 || mode > 3 || mode == images.sideMode) return;
    images.sideMode = mode;
    for (int slot = 0; slot < kSlotCount; ++slot) ResetSlot(slot);
    RedrawSideScanImages();
}

void CVantrelDoc::ToggleVerticalBlending() {
    images.verticalBlending = images.verticalBlending ? 0 : 1;
}

void CVantrelDoc::ToggleColorIndicator() {
    images.colorIndicator = images.colorIndicator ? 0 : 1;
    observer->UpdateAllViews();
}

ImageSize CVantrelDoc::SizeChannelImage(int slot, int zoomMode, int clientWidth,
                                        std::int32_t& sizeChanged) {
    const ImageSize size = ComputeImageSize(zoomMode, clientWidth);
    const RingImage& image = images.ChannelImage(slot);
    // The buffer always holds exactly width x rows: any change of size reallocates.
    const bool reallocate = (images.compositeMode && zoomMode == kZoomFillScreen) || sizeChanged ||
                            image.Width() != size.width || image.Rows() != size.rows;
    images.imagesReady = 0;
    if (reallocate) {
        images.AllocateChannelImage(slot, size.width, size.rows);
        ResetSlot(slot);
    }
    images.imagesReady = 1;
    images.slotStates[slot].zoomFactor = size.zoomFactor;
    images.slotStates[slot].displayScale = size.displayScale;
    if (zoomMode == kZoomFillScreen || reallocate) RedrawFromHistory(slot, 0);
    sizeChanged = 0;
    return size;
}

ImageSize CVantrelDoc::SizeCompositeImage(int zoomMode, int clientWidth,
                                          std::int32_t& sizeChanged) {
    const ImageSize size = ComputeImageSize(zoomMode, clientWidth);
    const RingImage& image = images.CompositeImage();
    const bool reallocate = (images.compositeMode && zoomMode == kZoomFillScreen) || sizeChanged ||
                            image.Width() != size.width || image.Rows() != size.rows;
    images.imagesReady = 0;
    if (reallocate) {
        images.AllocateComposite(size.width, size.rows);
        ResetSlot(kCompositeSlot);
    }
    images.imagesReady = 1;
    images.slotStates[kCompositeSlot].zoomFactor = size.zoomFactor;
    images.slotStates[kCompositeSlot].displayScale = size.displayScale;
    if (reallocate) RebuildComposite();
    sizeChanged = 0;
    observer->UpdateAllViews();
    return size;
}

void CVantrelDoc::ReleaseCompositeImages() {
    images.ReleaseComposite();
}
