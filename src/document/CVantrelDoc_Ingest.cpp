// Ping ingest: a validated cycle becomes one record of the ping history, is handed to the
// recorder, and runs the display step (ping interval, image rows, echogram, views).

#include <algorithm>
#include <cstring>

#include "document/CVantrelDoc.h"

void CVantrelDoc::ResetHistory() {
    history.Reset();
}

void CVantrelDoc::StoreCycle() {
    // 1. Row-0 stamps of all four slots: the cycle's time and, with a GPS reader, its texts.
    const std::array<char, 12> time = cycleTime.PingTime();
    NavigationTexts texts;
    const bool haveTexts = gps.readerExists != 0;
    if (haveTexts) CopyCurrentGpsTexts(texts);
    images.StampNewestRow(time, haveTexts ? &texts : nullptr);

    // A head that gave nothing to this cycle (left out of polling, or absent from the record
    // played) is stored as an empty line: its window scrolls on without the last ping it gave.
    for (int h = 0; h < kHeadCount; ++h) {
        if (!HeadHasData(h)) heads[h].line.fill(0);
    }

    // 2. The record at writeIndex.
    HistoryRecord& record = history.Record(history.writeIndex);
    for (int channel = 0; channel < kSideScanChannels; ++channel) {
        record.lines[channel] = heads[channel].line;
    }
    std::memcpy(record.esSamples.data(), heads[kHeadES].line.data(), kEchoSamples);
    record.time = time;
    record.texts = images.RowStamp(kCompositeSlot, 0).texts;
    record.altitudeM = orientation.altitudeM;
    record.headingDeg = orientation.headingDeg;
    record.range = range;
    record.esRange = esRange;
    record.pingIntervalMs = history.pingIntervalMs;
    record.pingNumber = recording.pingNumber;
    record.speedKnots = gps.ShipSpeedKnots();
    record.wrapSeparator = history.separatorPending;
    history.separatorPending = 0;

    // 3. The recorder writes the same cycle values the record was filled from.
    if (recording.recordingOn && recording.DataFileOpen()) RecordCycle();

    // The ping's swath joins the survey's coverage; the read-out follows the fix.
    AddCycleToSurvey();

    // 4-5.
    ProcessCycleDisplay();
    history.Advance();
}

void CVantrelDoc::ProcessCycleDisplay() {
    // 1. Ping interval; in playback the interval read from the file stands.
    const std::int32_t measured = history.intervalMeter.Add(platform.TickCountMs());
    if (!playbackMode) history.pingIntervalMs = measured;
    history.intervalMeter.previousTick = static_cast<std::int32_t>(platform.TickCountMs());

    // 2. Image rows, unless the display is held.
    if (!images.held) {
        CheckLayoutChange();
        if (images.imagesReady) {
            if (images.compositeMode) {
                CompositeUpdate(history.writeIndex);
            } else {
                const int a =
                    ComputeRowAdvance(history.writeIndex, images.sideMode, 0, displayChannelA);
                AddCycleToImage(displayChannelA, 0, a);
                // A system with one side-scan head shows it as both channels: one image, which
                // must take the ping once.
                if (displayChannelB != displayChannelA) AddCycleToImage(displayChannelB, 0, a);
            }
        }
    }

    // 3-4. These run while held as well.
    AddEchoSounderColumn();
    AddOrientationSample();

    // 5-7. With the pointer in no image view the status bar shows the newest stamps, and the
    // range read-out under the pointer is cleared.
    if (!feedback.PointerInAnyView()) feedback.pointerRange = 0.0;
    observer->CycleDisplayed();
    observer->RefreshDiagnostics();
}
