// The UTM series against GeographicLib's transverse Mercator (accurate to nanometres) over the
// whole UTM latitude band, every position in its own zone.

#include <gtest/gtest.h>

#include <GeographicLib/TransverseMercator.hpp>
#include <cmath>
#include <cstdio>

#include "gps/Utm.h"

namespace {

struct Worst {
    double difference = 0.0, lat = 0.0, lon = 0.0;
};

void Compare(double lat, double lon, Worst& worst) {
    const UtmPosition ours = LatLonToUtm(lat, lon);
    double x = 0.0, y = 0.0;
    GeographicLib::TransverseMercator::UTM().Forward(ours.zone * 6.0 - 183.0, lat, lon, x, y);
    x += 500000.0;
    if (lat < 0.0) y += 10000000.0;
    const double difference = std::hypot(ours.easting - x, ours.northing - y);
    if (difference > worst.difference) worst = {difference, lat, lon};
}

TEST(UtmReferenceTest, WithinOneCentimetreOfGeographicLib) {
    Worst worst;
    int points = 0;
    for (int i = 0; i <= 2 * 164; ++i) {
        const double lat = -80.0 + i * 0.5;
        for (int j = 0; j <= 2 * 360; ++j) {
            const double lon = -180.0 + j * 0.5;
            Compare(lat, lon, worst);
            // Just inside the next zone boundary to the east: the farthest from a meridian.
            Compare(lat, lon - 1e-9, worst);
            points += 2;
        }
    }
    std::printf("UTM against GeographicLib: %d positions, largest difference %.6f m at %.2f %.2f\n",
                points, worst.difference, worst.lat, worst.lon);
    RecordProperty("largest_difference_m", std::to_string(worst.difference));
    EXPECT_LT(worst.difference, 0.01);
}

}  // namespace
