#pragma once
// The side-scan images: one 8-bit image per channel (slots 0 L, 1 M, 2 H), the composite
// (slot 3: three 8-bit planes and a 24-bit RGB image built from them), the echo-sounder image,
// the row stamps of every slot, and the rules that turn stored pings into image rows.
//
// Rows are kept in rings (RingImage), so new rows enter at the top without moving the image.
// Row r of an image is always the r-th row from the top, exactly as if the rows had been
// block-moved down. Pixels 0..254 are colour-table indices, 255 marks lines.
//
// An advance of as many rows as the image has, or more, is drawn as an advance of rows - 1:
// the previous ping's row ends in the bottom row and the rows above it blend towards the new
// ping, so the whole image shows the one gap between the two pings and blending never reaches
// outside the image.

#include <array>
#include <cstdint>

#include "gps/NavigationTexts.h"
#include "gps/SpeedSource.h"
#include "imaging/LineBuilder.h"
#include "imaging/PingHistory.h"
#include "imaging/RingImage.h"
#include "imaging/RowInfo.h"

inline constexpr int kSlotCount = 4;
inline constexpr int kCompositeSlot = 3;

// Zoom modes of the image views.
inline constexpr int kZoomFillScreen = 0;
inline constexpr int kZoom100 = 1;
inline constexpr int kZoom200 = 2;
inline constexpr int kFillScreenRows = 2000;

struct ImageSize {
    int width = 0;
    int rows = 0;
    double zoomFactor = 1.0;
    float displayScale = 1.0f;
};

// Image size for a view's zoom mode and client width: "Fill the Screen" is the client width
// rounded up to a multiple of 4 (at most 4096) by 2000 rows; "100 %" and "200 %" are
// 2000 x 2000 and 4000 x 4000.
ImageSize ComputeImageSize(int zoomMode, int clientWidth);

// Document values that image formation reads besides the images themselves.
struct FormationInputs {
    const PingHistory* history = nullptr;
    const SpeedSource* speed = nullptr;
    std::array<std::int32_t, 3> frequencyHz{};
    std::array<std::int32_t, 3> available{};
    std::int32_t range = 0;
    std::int32_t pingNumber = 0;
    std::int32_t samplesPerSide = 1000;  // at most 1000: a head line holds 2 x 1000 samples
    std::int32_t playbackMode = 0;
};

// Samples per side for building lines: a head line holds two halves of 1000.
inline int SamplesPerSide(const FormationInputs& in) {
    return in.samplesPerSide < 1                 ? 1
           : in.samplesPerSide > kLineLength / 2 ? kLineLength / 2
                                                 : in.samplesPerSide;
}

struct ImageSlot {
    RingImage image;  // the channel's 8-bit image; slot 3 keeps its images in ImageSet
    RowInfoRing rowInfo;
    // What row 0 held before this cycle stamped it: the time and place of the line drawn
    // there, which that line keeps when the image scrolls it down.
    RowInfo drawnTopStamp;
    double remainder = 0.0;  // speed-correction fraction carried to the next ping
    double zoomFactor = 1.0;
    double intensityFactor = 1.0;
    float displayScale = 1.0f;
};

class ImageSet {
public:
    // --- What the views read -----------------------------------------------------------------
    const RingImage& ChannelImage(int slot) const { return slotStates[slot].image; }
    // 24-bit composite, 3 bytes per pixel in R, G, B order (L red, M green, H blue).
    const RingImage& CompositeImage() const { return composite24; }
    const RingImage& CompositePlane(int channel) const { return planes[channel]; }
    bool CompositeExists() const { return composite24.Exists(); }
    // The stamp of an image row; an empty stamp for a row outside the slot's image.
    const RowInfo& RowStamp(int slot, int row) const;
    // The composite row that shows the ping: the top row of the rows stamped with it, or, for a
    // ping merged into the row of the next one, that row; -1 when the image does not show it.
    int CompositeRowOfPing(std::int32_t ping) const;

    // --- Allocation (by the sizing operations, never per ping) --------------------------------
    void AllocateChannelImage(int slot, int width, int rows);
    void ReleaseChannelImage(int slot);
    void AllocateComposite(int width, int rows);
    void ReleaseComposite();

    // --- Formation ------------------------------------------------------------------------
    // Speed correction for record `recordIndex` on a slot (3 when composite); stores and
    // returns rowAdvance and carries the slot's remainder.
    int ComputeRowAdvance(const FormationInputs& in, int recordIndex, int mode, bool composite,
                          int channel);
    // Live path: adds the record at the history's writeIndex to a channel image, or to one
    // composite plane (plane 0 also scrolls the 24-bit image and the composite stamps).
    void AddCycleToImage(const FormationInputs& in, int channel, bool composite, int advance);
    // Composite path: the three planes with one advance, then each existing channel image.
    void CompositeUpdate(const FormationInputs& in, int recordIndex);
    // Rebuilds a channel image, or one composite plane, from the history, newest at the top.
    void RedrawFromHistory(const FormationInputs& in, int channel, bool composite);
    // Composite mode only: re-draws the three planes and recomputes the 24-bit image from
    // them. Returns false when nothing was rebuilt.
    bool RebuildComposite(const FormationInputs& in);
    // Zeroes a slot's pixels (slot 3: planes, 24-bit image and row counters), its remainder
    // and its row stamps.
    void ResetSlot(int slot);
    // Zeroes every image; the history and the stamps stay.
    void ClearScreen();
    // Writes a cycle's time (and navigation texts when given) into row 0 of all four slots.
    void StampNewestRow(const std::array<char, 12>& time, const NavigationTexts* texts);

    // --- State -------------------------------------------------------------------------------
    std::array<ImageSlot, kSlotCount> slotStates;
    RingImage echoImage;
    std::int32_t sideMode = 3;  // 1 port, 2 starboard, 3 both
    std::int32_t compositeMode = 0;
    std::int32_t held = 0;
    std::int32_t heldByEventDialog = 0;
    std::int32_t verticalBlending = 1;
    std::int32_t colorIndicator = 0;
    std::int32_t rowsFilled = 0;
    std::int32_t rowAdvance = 0;
    std::int32_t imagesReady = 1;
    std::int32_t compositeRowCounter = 0;
    std::int32_t heldRowCounter = 0;
    double samplesPerPixel = 0.0;
    // compositeMode, displayChannelA, displayChannelB, orientationPresent of the last layout.
    std::array<std::int32_t, 4> lastLayout{-1, -1, -1, -1};

private:
    RingImage& ImageFor(int channel, bool composite) {
        return composite ? planes[channel] : slotStates[channel].image;
    }
    const std::uint8_t* ChannelLine(const FormationInputs& in, int channel, int zoomSlot,
                                    int width);
    void SetCompositeBytes(int channel, int row);
    void DrawSeparatorRow(int channel, bool composite);
    void DrawRedrawRecord(RingImage& image, RowInfoRing& stamps, int channel, int row, int a,
                          const HistoryRecord& record);

    std::array<RingImage, 3> planes;
    RingImage composite24;
    std::array<FactorTables, 3> tables;
    std::array<LinePlan, kSlotCount> plans;  // slot 3 for the composite planes
    std::array<std::uint8_t, kMaxImageWidth> line{};
    std::array<std::uint8_t, kMaxImageWidth> previousLine{};
    // Within one CompositeUpdate: the line each channel's plane took, which its channel image
    // takes too when it is as wide and zoomed alike (the same ping built the same way).
    struct SharedLine {
        bool valid = false;
        int width = 0;
        double zoom = 0.0;
        std::array<std::uint8_t, kMaxImageWidth> pixels{};
    };
    bool sharingLines = false;
    std::array<SharedLine, 3> sharedLines;
};
