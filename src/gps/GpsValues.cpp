#include "gps/GpsValues.h"

#include <cmath>

void GpsValues::Take(const NmeaValues& sentence) {
    if (!sentence.decoded) return;
    anyDecoded = true;
    if (sentence.latitude) {
        latitude = sentence.latitude->degrees;
        latitudeHemisphere = sentence.latitude->hemisphere;
        latitudeKnown = latitudeDecoded = true;
    }
    if (sentence.longitude) {
        longitude = sentence.longitude->degrees;
        longitudeHemisphere = sentence.longitude->hemisphere;
        longitudeKnown = longitudeDecoded = true;
    }
    if (sentence.time) time = sentence.time;
    if (sentence.date) date = sentence.date;
    if (sentence.speedKnots) speedKnots = sentence.speedKnots;
    if (sentence.courseDeg) courseDeg = sentence.courseDeg;
    if (sentence.headingDeg) headingDeg = sentence.headingDeg;
}

bool GpsValues::FinishBatch() {
    bool fix = false;
    if (latitudeKnown && longitudeKnown && anyDecoded) {
        if (latitudeHemisphere == 'S' || latitudeHemisphere == 's') {
            latitude = -std::fabs(latitude);
        }
        if (longitudeHemisphere == 'W' || longitudeHemisphere == 'w') {
            longitude = -std::fabs(longitude);
        }
        fix = latitudeDecoded && longitudeDecoded;
        anyDecoded = false;
    }
    latitudeDecoded = longitudeDecoded = false;
    return fix;
}

void GpsValues::ForgetPositionAndTime() {
    latitudeKnown = longitudeKnown = false;
    time.reset();
}
