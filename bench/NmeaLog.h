#pragma once
// NMEA sentences of a vessel under way for the benchmarks and the log generator: a satellite
// receiver logging RMC and GGA at 10 Hz, each line "$...*hh" and CR LF as loggers write them.

#include <cstdio>
#include <string>

// "$" + body + "*hh\r\n" with the checksum of the body.
inline std::string NmeaSentence(const char* body) {
    unsigned sum = 0;
    for (const char* c = body; *c; ++c) sum ^= static_cast<unsigned char>(*c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum & 0xFFu);
    return std::string("$") + body + tail;
}

// Fix number n (tenths of a second since 08:00:00 UTC on 1 March 2026): an RMC and a GGA of a
// vessel steaming north-east at 6.5 knots from 54°19' N, 10°09' E, the days counted on.
inline void AppendLoggedFix(std::string& log, long long n) {
    const long long tenths = 8LL * 36000 + n;
    const int day = 1 + static_cast<int>(tenths / 864000);
    const long long inDay = tenths % 864000;
    const int h = static_cast<int>(inDay / 36000), m = static_cast<int>(inDay / 600 % 60);
    const int s = static_cast<int>(inDay / 10 % 60), tenth = static_cast<int>(inDay % 10);
    const double minutesNorth = 19.0 + static_cast<double>(n) * 0.000018;
    const double minutesEast = 9.0 + static_cast<double>(n) * 0.000031;
    const int latDegrees = 54 + static_cast<int>(minutesNorth / 60.0);
    const int lonDegrees = 10 + static_cast<int>(minutesEast / 60.0);
    const double latMinutes = minutesNorth - 60.0 * static_cast<int>(minutesNorth / 60.0);
    const double lonMinutes = minutesEast - 60.0 * static_cast<int>(minutesEast / 60.0);
    char body[160];
    std::snprintf(body, sizeof body,
                  "GPRMC,%02d%02d%02d.%d0,A,%02d%08.5f,N,%03d%08.5f,E,6.5,%05.1f,%02d0326,,,A", h, m,
                  s, tenth, latDegrees, latMinutes, lonDegrees, lonMinutes,
                  44.0 + static_cast<double>(n % 50) * 0.1, (day - 1) % 28 + 1);
    log += NmeaSentence(body);
    std::snprintf(body, sizeof body,
                  "GPGGA,%02d%02d%02d.%d0,%02d%08.5f,N,%03d%08.5f,E,1,12,0.8,12.3,M,46.9,M,,", h, m,
                  s, tenth, latDegrees, latMinutes, lonDegrees, lonMinutes);
    log += NmeaSentence(body);
}
