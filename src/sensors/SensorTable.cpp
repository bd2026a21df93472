#include "sensors/SensorTable.h"

#include "common/TextFormat.h"

std::string SensorTableHeader() {
    return "ping,pitch_raw,roll_raw,heading_raw,temperature_raw,depth_raw,pitch,roll,heading,"
           "temperature,depth,altitude";
}

std::string SensorTableRow(std::int32_t ping, const OrientationReadings& raw,
                           const OrientationReadings& shown, double altitudeM) {
    return Printf("%d,%.4f,%.4f,%.4f,%.4f,%.4f,", ping, raw.pitchDeg, raw.rollDeg, raw.headingDeg,
                  raw.temperatureC, raw.depthM) +
           Printf("%.4f,%.4f,%.4f,%.4f,%.4f,%.4f", shown.pitchDeg, shown.rollDeg, shown.headingDeg,
                  shown.temperatureC, shown.depthM, altitudeM);
}
