#include "sensors/SensorTable.h"

#include "common/TextFormat.h"

std::string SensorTableHeader() {
    return "ping,pitch_raw,roll_raw,heading_raw,temperature_raw,depth_raw,pitch,roll,heading,"
           "temperature,depth,altitude";
}

namespace {

std::string ShownColumns(const OrientationReadings& shown, double altitudeM) {
    return Printf("%.4f,%.4f,%.4f,%.4f,%.4f,%.4f", shown.pitchDeg, shown.rollDeg,
                  shown.headingDeg, shown.temperatureC, shown.depthM, altitudeM);
}

}  // namespace

std::string SensorTableRow(std::int32_t ping, const OrientationReadings& raw,
                           const OrientationReadings& shown, double altitudeM) {
    return Printf("%d,%.4f,%.4f,%.4f,%.4f,%.4f,", ping, raw.pitchDeg, raw.rollDeg, raw.headingDeg,
                  raw.temperatureC, raw.depthM) +
           ShownColumns(shown, altitudeM);
}

std::string SensorTableRowWithoutSensor(std::int32_t ping, const OrientationReadings& shown,
                                        double altitudeM) {
    return Printf("%d,,,,,,", ping) + ShownColumns(shown, altitudeM);
}
