#pragma once
// Latitude and longitude on the WGS84 ellipsoid to UTM easting and northing in metres: the
// transverse Mercator forward series in its USGS form, scale 0.9996 on the zone's central
// meridian, false easting 500000 m, false northing 10000000 m south of the equator.

struct UtmPosition {
    int zone = 0;
    bool south = false;
    double easting = 0.0;
    double northing = 0.0;
};

// Whether UTM covers the latitude: 80 degrees south to 84 degrees north. Beyond, the polar
// stereographic grids take over, and the series here is not valid.
bool InUtmLatitudes(double latitude);

// The zone of a position: six-degree zones from 180 W, with the exceptions for southern
// Norway (zone 32) and Svalbard (zones 31, 33, 35, 37).
int UtmZone(double latitude, double longitude);

// The position projected in its own zone and hemisphere.
UtmPosition LatLonToUtm(double latitude, double longitude);

// The position projected in a given zone (1..60) and hemisphere, wherever it lies.
UtmPosition LatLonToUtmInZone(double latitude, double longitude, int zone, bool south);
