#include "models/SonarViewState.h"

#include <cmath>
#include <cstring>
#include <string>

#include "document/CVantrelDoc.h"
#include "imaging/SideGeometry.h"
#include "shell/ViewHost.h"

int ScrollAfterZoom(int scroll, int pointer, double oldFactor, double newFactor) {
    if (!(oldFactor > 0.0) || !(newFactor > 0.0)) return 0;
    const double imagePoint = std::trunc((scroll + pointer) / oldFactor);
    return static_cast<int>(std::trunc(imagePoint * newFactor - pointer));
}

SonarViewState::SonarViewState(CVantrelDoc& document, int imageSlot, bool publishes)
    : doc(document), slot(imageSlot), publishesScroll(publishes) {}

bool SonarViewState::HasSlot() const {
    return slot >= 0 && slot < kSlotCount;
}

void SonarViewState::SetDocumentPointerFlag(std::int32_t inside) {
    if (!HasSlot()) return;
    ViewFeedback feedback = doc.feedback;
    feedback.slots[slot].pointerInside = inside;
    doc.SetViewFeedback(feedback);
}

void SonarViewState::Size(int width, int height) {
    if (width <= 0 || height <= 0) return;
    clientWidth = width;
    clientHeight = height;
    if (!HasSlot()) return;
    const ImageSize size = slot == kCompositeSlot
                               ? doc.SizeCompositeImage(zoomMode, width, sizeChanged)
                               : doc.SizeChannelImage(slot, zoomMode, width, sizeChanged);
    zoomFactor = size.zoomFactor;
    ReadImageSize();
}

ViewRepaint SonarViewState::MouseMove(int x, int y) {
    lastX = x;
    lastY = y;
    if (x < 0 || y < 0 || x >= clientWidth || y >= clientHeight) {
        pointerInside = 0;
        SetDocumentPointerFlag(0);
        return ViewRepaint::None;
    }
    pointerInside = 1;
    pointerImageX = x + scrollX;
    pointerImageY = y + scrollY;
    if (dragging) {
        scrollX = anchorX + savedScrollX - x;
        scrollY = anchorY + savedScrollY - y;
        if (publishesScroll && HasSlot()) {
            ViewFeedback feedback = doc.feedback;
            feedback.slots[slot].scrollX = scrollX;
            feedback.slots[slot].scrollY = scrollY;
            doc.SetViewFeedback(feedback);
        }
        return ViewRepaint::AllViews;
    }
    if (!measure.ToolActive() && !doc.images.held) {
        SetDocumentPointerFlag(1);
        return ViewRepaint::None;
    }
    return ViewRepaint::Now;
}

void SonarViewState::PointerLeft() {
    pointerInside = 0;
    SetDocumentPointerFlag(0);
}

void SonarViewState::StopPlaybackAndResume() {
    doc.PausePlayback();
    doc.ResumePlayback();
}

void SonarViewState::LeftButtonDown(int x, int y) {
    // The measuring tools take the click when one is armed; otherwise a zoomed image pans.
    if (measure.ToolActive()) {
        MeasureButtonDown(measure, Geometry(), x + scrollX, y + scrollY);
    } else if (zoomMode > kZoomFillScreen) {
        anchorX = x;
        anchorY = y;
        dragging = 1;
    }
    StopPlaybackAndResume();
}

void SonarViewState::LeftButtonUp() {
    MeasureButtonUp(measure);
    savedScrollX = scrollX;
    savedScrollY = scrollY;
    dragging = 0;
    StopPlaybackAndResume();
}

void SonarViewState::ResetScroll() {
    scrollX = scrollY = 0;
    savedScrollX = savedScrollY = 0;
    anchorX = anchorY = 0;
}

bool SonarViewState::FillScreen() {
    if (zoomMode == kZoomFillScreen) return false;
    zoomMode = kZoomFillScreen;
    sizeChanged = 1;
    Size(clientWidth, clientHeight);
    ResetScroll();
    measure.ClearMarks();
    return true;
}

bool SonarViewState::SetZoom(int mode) {
    if (mode == zoomMode) return false;
    if (mode == kZoomFillScreen) return FillScreen();
    zoomMode = mode;
    sizeChanged = 1;
    Size(clientWidth, clientHeight);
    // Marks and a measurement begun hold points of the old scale: they would point elsewhere.
    measure.ClearMarks();
    return true;
}

void SonarViewState::ZoomCycle() {
    const double oldFactor = zoomFactor;
    zoomMode = zoomMode >= kZoom200 ? kZoomFillScreen : zoomMode + 1;
    measure.ClearMarks();
    sizeChanged = 1;
    Size(clientWidth, clientHeight);
    scrollX = ScrollAfterZoom(scrollX, lastX, oldFactor, zoomFactor);
    scrollY = ScrollAfterZoom(scrollY, lastY, oldFactor, zoomFactor);
    savedScrollX = scrollX;
    savedScrollY = scrollY;
    if (zoomMode == kZoomFillScreen) ResetScroll();
}

void SonarViewState::RestoreImage() {
    ResetScroll();
    measure.ClearMarks();
}

int SonarViewState::ZoomPercent() const {
    return static_cast<int>(std::lround(zoomFactor * 100.0));
}

MeasureGeometry SonarViewState::Geometry() const {
    MeasureGeometry geometry;
    geometry.imageWidth = imageWidth;
    geometry.imageRows = imageHeight;
    geometry.range = doc.range;
    geometry.sideMode = doc.images.sideMode;
    geometry.speedCorrection = doc.speed.speedCorrection != 0;
    if (HasSlot()) geometry.rowStamps = &doc.images.slotStates[slot].rowInfo;
    return geometry;
}

void SonarViewState::ReadImageSize() {
    if (!HasSlot()) return;
    const RingImage& image =
        slot == kCompositeSlot ? doc.images.CompositeImage() : doc.images.ChannelImage(slot);
    imageWidth = image.Width();
    imageHeight = image.Rows();
}

void SonarViewState::PointerReadout() {
    if (!HasSlot()) return;
    if (pointerInside) {
        const int column = scrollX + lastX;
        const int row = scrollY + lastY;
        const AcrossTrack across =
            PointerAcrossTrack(column, imageWidth, doc.range, doc.images.sideMode);
        pointerStarboard = across.starboard ? 1 : 0;
        pointerRange = across.metres;
        ViewFeedback feedback = doc.feedback;
        feedback.pointerStarboard = pointerStarboard;
        feedback.pointerRange = pointerRange;
        doc.SetViewFeedback(feedback);
        if (host) host->ShowPointerRange(pointerRange, across.starboard);
        if (host && row >= 0 && row < imageHeight && column >= 0 && column < imageWidth) {
            const auto& date = doc.cycleTime.cycleDateText;
            host->ShowRowStamp(doc.images.RowStamp(slot, row),
                               std::string(date.data(), strnlen(date.data(), date.size())));
        }
    }
    SetDocumentPointerFlag(pointerInside);
    if (host) host->RefreshIndicators();
}
