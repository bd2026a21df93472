// Framing of the received text into sentences, the end of a read and of a batch, playback of
// recorded sentences and the reset of the GPS data.

#include <algorithm>
#include <cmath>
#include <string_view>

#include "gps/GpsState.h"
#include "gps/NmeaFields.h"

namespace {

bool IsRecognisedType(std::string_view sentence) {
    return NmeaTypeOf(sentence) != NmeaType::Other;
}

// A sentence as receivers send it: '$', five letters or digits (talker and type), then
// printable text up to the line end, no longer than a record's slot. Anything else framed
// between two '$' is noise on the line.
bool LooksLikeNmea(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n')) --end;
    if (end < 6 || end > kSentenceMaxLength) return false;
    for (std::size_t i = 1; i < end; ++i) {
        const char c = text[i];
        const bool word = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (i <= 5 ? !word : (c < ' ' || c > '~')) return false;
    }
    return true;
}

// Slots 1..9 move down to 0..8; slot 9 is returned for the new entry (its old buffer is reused).
std::string& ShiftDown(std::array<std::string, kSentenceSlots>& slots) {
    std::rotate(slots.begin(), slots.begin() + 1, slots.end());
    return slots.back();
}

}  // namespace

void GpsState::BeginRead() {
    gpsDataChanged = 0;
    headingSeen = 0;
    ringChanged = 0;
}

// The line counters of one framed piece of text (a whole sentence, before the cut to a slot).
void GpsState::CountLineText(std::string_view sentence) {
    if (!LooksLikeNmea(sentence)) {
        line.nonNmeaBytes += sentence.size();
    } else if (CheckSentence(sentence) == Checksum::Invalid) {
        ++line.checksumFailures;
    }
}

// The working text is pendingText and the new bytes. Sentences run from one '$' to the
// character before the next '$' (a line feed there is dropped; the carriage return and the
// checksum stay). A budget of the new byte count limits how much text one read decodes, so a
// backlog waits for the next reads; the budget is overrun only to keep pendingText under its
// cap. Every byte that leaves the working text without being part of a sentence (dropped
// before the first '$', framed as noise, cut off a line that never ends) is counted.
void GpsState::SplitReceivedText(const char* bytes, std::size_t count,
                                 const GpsDecodeContext& context) {
    recognisedInBatch = 0;
    working.assign(pendingText);
    working.append(bytes, count);
    std::size_t start = working.find('$');
    if (start == std::string::npos) {
        const std::size_t keep = std::min(working.size(), kPendingTextCap);
        line.nonNmeaBytes += working.size() - keep;
        pendingText.assign(working, working.size() - keep, keep);
        return;
    }
    line.nonNmeaBytes += start;
    long long budget = static_cast<long long>(count) - static_cast<long long>(start);
    while (budget > 0 || working.size() - start > kPendingTextCap) {
        const std::size_t next = working.find('$', start + 1);
        if (next == std::string::npos) break;
        std::size_t length = next - start;
        CountLineText(std::string_view(working.data() + start, length));
        if (working[next - 1] == '\n') --length;
        budget -= static_cast<long long>(length);
        const std::string_view sentence(working.data() + start,
                                        std::min(length, kSentenceMaxLength));
        if (IsRecognisedType(sentence)) {
            StoreRecognised(sentence);
            currentSentence.assign(sentence);
            ParseGpsSentence(context);
        }
        AddToRing(sentence);
        start = next;
    }
    const std::size_t rest = working.size() - start;
    const std::size_t keep = std::min(rest, kPendingTextCap);
    line.nonNmeaBytes += rest - keep;
    pendingText.assign(working, working.size() - keep, keep);
    if (recognisedInBatch > 0) ++sentenceBatches;
}

void GpsState::StoreRecognised(std::string_view sentence) {
    const int k = recognisedInBatch++;
    std::size_t slot = static_cast<std::size_t>(k);
    if (k >= kSentenceSlots) {
        ShiftDown(recentSentences);
        slot = kSentenceSlots - 1;
    }
    recentSentences[slot].assign(sentence);
    for (std::size_t i = slot + 1; i < recentSentences.size(); ++i) recentSentences[i].clear();
}

void GpsState::AddToRing(std::string_view sentence) {
    ringChanged = 1;
    if (ringCount < ringCapacity) {
        sentenceRing[static_cast<std::size_t>(ringCount++)].assign(sentence);
    } else {
        ShiftDown(sentenceRing).assign(sentence);
    }
}

// Ten or more reads in a row without a heading: the course stands in for it.
void GpsState::HeadingFallBack() {
    if (headingSeen) return;
    if (readsWithoutHeading < 10) ++readsWithoutHeading;
    if (readsWithoutHeading > 9) {
        gpsHeading = gpsCourse;
        headingText = "n/a";
    }
}

// The hemisphere signs are applied, and a position decoded in this batch goes to the track.
void GpsState::FinishGpsBatch() {
    if (latitudeText != "n/a" && longitudeText != "n/a" && anyDecoded) {
        if (gpsLatHemisphere == 'S' || gpsLatHemisphere == 's') {
            gpsLatitude = -std::fabs(gpsLatitude);
        }
        if (gpsLonHemisphere == 'W' || gpsLonHemisphere == 'w') {
            gpsLongitude = -std::fabs(gpsLongitude);
        }
        if (latitudeDecoded && longitudeDecoded) {
            track.AddTrackPoint(gpsLatitude, gpsLongitude, trackRestart);
            ++positionFixes;
        }
        anyDecoded = 0;
    }
    latitudeDecoded = longitudeDecoded = 0;
}

void GpsState::DecodeRead(const char* bytes, std::size_t count, const GpsDecodeContext& context) {
    std::lock_guard<std::mutex> guard(lock);
    BeginRead();
    SplitReceivedText(bytes, count, context);
    HeadingFallBack();
    FinishGpsBatch();
}

void GpsState::ReplayRecordedSentences(const GpsDecodeContext& context) {
    std::lock_guard<std::mutex> guard(lock);
    for (std::size_t i = 0; i < recentSentences.size(); ++i) {
        currentSentence = recentSentences[i];
        sentenceRing[i] = recentSentences[i];
        ParseGpsSentence(context);
    }
    if (speedDecoded) speedText = OneDecimal(shipSpeedKnots, " Knots");
    if (headingDecoded) headingText = OneDecimal(gpsHeading, " Deg.");
    if (courseDecoded) courseText = OneDecimal(gpsCourse, " Deg.");
    FinishGpsBatch();
}

void GpsState::Reset(bool clearTrack) {
    latitudeText = longitudeText = timeText = speedText = courseText = headingText = dateText =
        "n/a";
    pendingText.clear();
    shipSpeedKnots = gpsCourse = gpsHeading = gpsLatitude = gpsLongitude = 0.0;
    gpsTime.reset();
    gpsDate.reset();
    headingSeen = readsWithoutHeading = 0;
    anyDecoded = latitudeDecoded = longitudeDecoded = 0;
    receiverSaysNoFix = 0;
    speedDecoded = courseDecoded = headingDecoded = 0;
    if (clearTrack) track.Clear();
    for (std::string& slot : sentenceRing) slot.clear();
    ringCount = 0;
}
