#pragma once
// Data files of a vessel sailing one straight line due east or west at 4 knots with head L
// alone (no echo sounder, so no altitude: samples lie at their slant distance), every sample
// of both sides one constant value, the NMEA sentences of the fix once a second. Two such
// files side by side overlap by a width known from their positions alone.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "SimGps.h"
#include "datafiles/DataRecordFormat.h"
#include "datafiles/RecordCodec.h"
#include "../support/TempDir.h"

struct StraightLine {
    double latitude = 0, longitude = 0;  // of the start
    bool east = true;
    std::uint8_t value = 100;
    int records = 200;  // one every 0.5 s
    bool gps = true;
    int rangeM = 50;
    // Samples fall linearly from `value` at the nadir to this at the far range (-1: all one).
    int farValue = -1;
    double startS = 0;  // the first record's time after 10:00:00 UTC
};

constexpr double kLineSpeedMs = 4.0 * 1852.0 / 3600.0;
constexpr double kMetresPerDegreeLat = 111200.0;  // near enough: tests use UTM of the fixes

// The vessel's position `seconds` after the start.
inline void LinePosition(const StraightLine& line, double seconds, double& lat, double& lon) {
    const double metres = (line.east ? 1.0 : -1.0) * kLineSpeedMs * seconds;
    lat = line.latitude;
    lon = line.longitude +
          metres / (kMetresPerDegreeLat * std::cos(line.latitude * 3.14159265358979 / 180.0));
}

inline std::string WriteStraightLine(const TempDir& dir, const std::string& name,
                                     const StraightLine& line) {
    const std::string path = dir.File(name);
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 2 * 1000> samples;
    samples.fill(line.value);
    for (int j = 0; line.farValue >= 0 && j < 1000; ++j) {  // j: samples out from the nadir
        const auto v = static_cast<std::uint8_t>(
            std::lround(line.value + (line.farValue - line.value) * j / 999.0));
        samples[static_cast<std::size_t>(999 - j)] = samples[static_cast<std::size_t>(1000 + j)] = v;
    }
    std::array<std::uint8_t, 128> zeros{};
    std::vector<std::uint8_t> buffer(svx::kMaxRecordLength);
    std::array<std::string, svx::kGpsSlotCount> sentences;
    for (int k = 0; k < line.records; ++k) {
        const double t = 0.5 * k, utc = 36000.0 + line.startS + t;
        const int whole = static_cast<int>(utc);
        char time[16], millis[8];
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", whole / 3600, whole / 60 % 60, whole % 60);
        std::snprintf(millis, sizeof millis, "%03d", static_cast<int>((utc - whole) * 1000));
        for (auto& slot : sentences) slot.clear();
        if (line.gps) {
            sim::VesselFix fix;
            LinePosition(line, std::floor(t), fix.latitude, fix.longitude);
            fix.courseDeg = fix.headingDeg = line.east ? 90.0 : 270.0;
            fix.speedKnots = 4.0;
            const std::string batch =
                sim::NmeaBatch(fix, 36000.0 + line.startS + std::floor(t), 9, 12, 2026, "GP");
            std::size_t start = 0, slot = 0;
            while (start < batch.size() && slot < sentences.size()) {
                std::size_t end = batch.find('\n', start);
                if (end == std::string::npos) end = batch.size();
                sentences[slot++] = batch.substr(start, end - start);
                start = end + 1;
            }
        }
        svx::CycleSource cycle;
        cycle.pingNumber = static_cast<std::uint32_t>(k + 1);
        cycle.date = "09-DEC-2026";
        cycle.time = time;
        cycle.millis = millis;
        cycle.headsInSystem = 1;
        svx::HeadSource& head = cycle.heads[0];
        head.present = true;
        head.frequencyHz = 100000;
        head.range = static_cast<std::uint16_t>(line.rangeM);
        head.command = zeros.data();
        head.replyHeader = zeros.data();
        head.line = samples.data();
        cycle.pingIntervalMs = 500;
        cycle.sentences = &sentences;
        const std::size_t length = svx::EncodeRecord(cycle, buffer.data()).length;
        bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(length));
    }
    TempDir::WriteBytes(path, bytes);
    return path;
}
