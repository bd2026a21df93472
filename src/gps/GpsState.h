#pragma once
// The GPS state shared by the GPS reader thread and the window thread: the decoded values,
// the display texts, the two lists of recent sentences, the reader's framing state and the
// track. Everything is guarded by `lock`. The reader holds it over a whole batch (framing,
// decoding, heading fall-back, batch end) because the hemisphere signs are applied only at the
// batch end; the window thread holds it while it reads, resets or plays back. The operations
// below that are not marked otherwise expect the caller to hold the lock.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "gps/GpsLineHealth.h"
#include "gps/GpsTrack.h"
#include "gps/NavigationTexts.h"
#include "gps/NmeaDecode.h"

inline constexpr int kSentenceSlots = 10;
// A stored sentence is cut to the 100-byte slot of a data-file record, so what is decoded live
// is exactly what playback decodes again.
inline constexpr std::size_t kSentenceMaxLength = 100;
// Text that never becomes a sentence (no '$': a wrong baud rate, another device) is kept only
// up to this length.
inline constexpr std::size_t kPendingTextCap = 1024;

// What the decoders see of the configuration dialog: the sentence selection ("GLL + VTG",
// "GGA + VTG", "RMC", "VTG") and whether the dialog is shown; together they decide which
// sentence feeds the quality text.
struct GpsDecodeContext {
    std::int32_t sentenceSet = 0;
    bool dialogVisible = false;
};

struct GpsState {
    // --- Decoded values ---------------------------------------------------------------------
    double gpsLatitude = 0.0;  // decimal degrees; signed at the batch end
    double gpsLongitude = 0.0;
    char gpsLatHemisphere = 0;  // the letter after the last decoded latitude
    char gpsLonHemisphere = 0;
    double shipSpeedKnots = 0.0;
    double gpsCourse = 0.0;
    double gpsHeading = 0.0;
    std::optional<NmeaTime> gpsTime;  // the last decoded time of day
    std::optional<NmeaDate> gpsDate;  // the last decoded date
    std::int32_t gpsDataChanged = 0;  // a sentence was handed to the decoder since the read began

    // --- Display texts ----------------------------------------------------------------------
    std::string latitudeText = "n/a";
    std::string longitudeText = "n/a";
    std::string timeText = "n/a";
    std::string speedText = "n/a";
    std::string courseText = "n/a";
    std::string headingText;
    std::string dateText = "n/a";
    // For the configuration dialog's "GPS Quality / Status:" and "Number of Satellites in
    // Use:" boxes.
    std::string qualityText = "n/a";
    std::int32_t satellitesInUse = 0;

    // The GPS reader object exists; until then pings carry no navigation texts.
    std::int32_t readerExists = 0;
    // The configuration dialog is shown (window thread only; handed to the decoders in a
    // GpsDecodeContext).
    bool configDialogVisible = false;
    // The recognised sentences of the latest batch, oldest first; stored with every record of
    // a data file and decoded again in playback.
    std::array<std::string, kSentenceSlots> recentSentences;

    // --- Framing state of the reader --------------------------------------------------------
    std::string pendingText;  // text after the last complete sentence of the previous read
    std::string currentSentence;
    // The last ten sentences of any type, oldest first, for the dialog's received list.
    std::array<std::string, kSentenceSlots> sentenceRing;
    std::int32_t ringCount = 0;
    std::int32_t ringCapacity = kSentenceSlots;
    std::int32_t anyDecoded = 0;
    std::int32_t headingSeen = 0;
    std::int32_t readsWithoutHeading = 0;
    // Both coordinates of a position were decoded since the last batch end: only then does
    // the batch end add a track point.
    std::int32_t latitudeDecoded = 0;
    std::int32_t longitudeDecoded = 0;
    // Values decoded at least once since the last reset; playback rewrites only their texts,
    // so a record without GPS input leaves "n/a" (and the image formation its default speed).
    std::int32_t speedDecoded = 0;
    std::int32_t courseDecoded = 0;
    std::int32_t headingDecoded = 0;

    // --- Freshness and line health --------------------------------------------------------
    // Counters that only grow: batches that decoded a whole position (a fix), and reads that
    // renewed recentSentences. The window thread stamps the time at which it sees each change
    // (GpsFixAge); comparing counters needs no clock on the reader thread.
    std::uint32_t positionFixes = 0;
    std::uint32_t sentenceBatches = 0;
    // The last position sentence said the receiver has no fix (RMC or GLL status 'V', GGA
    // quality 0): its position, speed and course were not taken.
    std::int32_t receiverSaysNoFix = 0;
    // A sentence of any kind entered sentenceRing during the read (the dialog's list changed).
    std::int32_t ringChanged = 0;
    GpsLineCounters line;
    GpsDeviceStatus device;

    // --- Track -------------------------------------------------------------------------------
    GpsTrack track;
    // The next position starts a new piece of track without a connecting line.
    std::int32_t trackRestart = 0;

    mutable std::mutex lock;

    // --- Decoding (caller holds the lock) ----------------------------------------------------
    // One read of the port: the read begins (BeginRead), the received bytes are framed and
    // decoded (SplitReceivedText), then the heading fall-back and the batch end run.
    void BeginRead();
    void SplitReceivedText(const char* bytes, std::size_t count, const GpsDecodeContext& context);
    // Decodes currentSentence and takes its values.
    void ParseGpsSentence(const GpsDecodeContext& context);
    // The values of a decoded sentence and the texts made from them.
    void TakeValues(const NmeaValues& values, const GpsDecodeContext& context);
    void HeadingFallBack();
    void FinishGpsBatch();
    // Back to "n/a" and zeros; clearTrack also zeroes the track (its origin stays).
    void Reset(bool clearTrack);

    // --- Whole batches (take the lock themselves; the caller must NOT hold it) ---------------
    // The lock is not recursive: these two run a complete batch under one hold of it.
    // One read of the port: BeginRead, SplitReceivedText, the heading fall-back, the batch end.
    void DecodeRead(const char* bytes, std::size_t count, const GpsDecodeContext& context);
    // Playback of one record: the recentSentences (set by the caller beforehand, under the
    // lock) decoded again, the speed, heading and course texts rewritten from the values, then
    // the batch end.
    void ReplayRecordedSentences(const GpsDecodeContext& context);

    // --- Readers on the window thread (take the lock themselves) -------------------------------
    double ShipSpeedKnots() const {
        std::lock_guard<std::mutex> guard(lock);
        return shipSpeedKnots;
    }
    // The six texts stored with a ping, in their stored order.
    void CopyNavigationTexts(NavigationTexts& out) const {
        std::lock_guard<std::mutex> guard(lock);
        out[kNavLatitude].Assign(latitudeText);
        out[kNavLongitude].Assign(longitudeText);
        out[kNavSpeed].Assign(speedText);
        out[kNavCourse].Assign(courseText);
        out[kNavDate].Assign(dateText);
        out[kNavTime].Assign(timeText);
    }

private:
    void StoreRecognised(std::string_view sentence);
    void AddToRing(std::string_view sentence);
    void TakeDialogValues(const NmeaValues& values, const GpsDecodeContext& context);
    void CountLineText(std::string_view sentence);

    int recognisedInBatch = 0;
    std::string working;  // reused framing buffer
};
