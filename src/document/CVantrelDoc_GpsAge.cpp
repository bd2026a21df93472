// The document's side of the GPS freshness: the age of the last fix and of the last
// sentences, the threshold after which they are no longer current, and what the reader says of
// its device.

#include "document/CVantrelDoc.h"
#include "gps/GpsGaps.h"
#include "gps/GpsReadInterval.h"

std::uint32_t CVantrelDoc::GpsClockMs() {
    return playbackMode ? CycleClockMs(cycleTime) : platform.TickCountMs();
}

std::uint32_t CVantrelDoc::GpsLostThreshold() const {
    return GpsLostThresholdMs(gpsConfig.gpsLostAfterMs,
                              ClampGpsReadInterval(gpsConfig.gpsReadInterval));
}

void CVantrelDoc::ObserveGps() {
    std::uint32_t fixes = 0, batches = 0;
    {
        std::lock_guard<std::mutex> guard(gps.lock);
        fixes = gps.positionFixes;
        batches = gps.sentenceBatches;
    }
    gpsInput.fixAge.Observe(fixes, batches, GpsClockMs());
}

void CVantrelDoc::RestartGpsAge() {
    std::lock_guard<std::mutex> guard(gps.lock);
    gpsInput.fixAge.Reset(gps.positionFixes, gps.sentenceBatches);
}

GpsFixStatus CVantrelDoc::GpsStatus() {
    GpsFixStatus status;
    status.ageMs = gpsInput.fixAge.FixAgeMs(GpsClockMs());
    status.thresholdMs = GpsLostThreshold();
    std::lock_guard<std::mutex> guard(gps.lock);
    status.receiverSaysNoFix = gps.receiverSaysNoFix != 0;
    status.deviceLost = !playbackMode && gps.device.lost;
    status.recordWithoutGps = playbackMode && !CarriesGpsSentences(gps.recentSentences);
    return status;
}

bool CVantrelDoc::GpsSentencesCurrent() {
    ObserveGps();
    const std::optional<std::uint32_t> age = gpsInput.fixAge.SentenceAgeMs(GpsClockMs());
    return age && *age <= GpsLostThreshold();
}

void CVantrelDoc::CopyCurrentGpsTexts(NavigationTexts& texts) {
    gps.CopyNavigationTexts(texts);
    ObserveGps();
    if (!GpsStatus().Lost()) return;
    for (int text : {kNavLatitude, kNavLongitude, kNavSpeed, kNavCourse}) texts[text].Assign("n/a");
}
