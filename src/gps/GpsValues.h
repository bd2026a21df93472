#pragma once
// The navigation values that batches of sentences leave behind, as GpsState keeps them but
// without texts, lock or framing: what the exports need to decode a recording or a log
// exactly as playback decodes it. A value carries over from batch to batch until a sentence
// gives a new one; the hemisphere signs are applied at the batch end, and only once both a
// latitude and a longitude are known (the display's "n/a" test).

#include <optional>

#include "gps/NmeaDecode.h"

struct GpsValues {
    double latitude = 0.0;  // decimal degrees; signed at the batch end
    double longitude = 0.0;
    char latitudeHemisphere = 0;
    char longitudeHemisphere = 0;
    // A latitude (longitude) was decoded since the last Forget: the display would show it.
    bool latitudeKnown = false;
    bool longitudeKnown = false;
    std::optional<double> speedKnots, courseDeg, headingDeg;  // once decoded
    std::optional<NmeaTime> time;                             // since the last Forget
    std::optional<NmeaDate> date;

    // Takes what one sentence gave.
    void Take(const NmeaValues& sentence);
    // The batch end: signs the position; true when the batch decoded both coordinates (a fix).
    bool FinishBatch();
    // The position and the time are no longer known (their texts back to "n/a"); the values
    // themselves stay.
    void ForgetPositionAndTime();

private:
    bool anyDecoded = false;  // a sentence was decoded since the last signing
    bool latitudeDecoded = false;  // in this batch
    bool longitudeDecoded = false;
};
