#pragma once
// The sensor table of a played file: one row per stored record with the converted values
// before smoothing and the values the instruments show, in degrees, degrees Celsius and metres
// with four decimals.

#include <cstdint>
#include <string>

#include "sensors/OrientationState.h"

// "ping,pitch_raw,roll_raw,heading_raw,temperature_raw,depth_raw,pitch,roll,heading,
// temperature,depth,altitude"
std::string SensorTableHeader();
// One row: the raw values (converted, before smoothing), the shown values and the altitude.
std::string SensorTableRow(std::int32_t ping, const OrientationReadings& raw,
                           const OrientationReadings& shown, double altitudeM);
// The row of a record of an installation without an orientation sensor: nothing was measured,
// so the raw columns are empty; the shown values and the altitude as the instruments have them.
std::string SensorTableRowWithoutSensor(std::int32_t ping, const OrientationReadings& shown,
                                        double altitudeM);
