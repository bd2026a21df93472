#pragma once
// Building NMEA sentences for the GPS tests and feeding them through the decoding of one read.

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gps/GpsState.h"
#include "support/TempDir.h"

// "$" + body + "*hh\r\n" with the checksum of the body.
inline std::string Nmea(const std::string& body) {
    unsigned sum = 0;
    for (unsigned char c : body) sum ^= c;
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

// One read of the port: framing, decoding, heading fall-back and batch end.
inline void Read(GpsState& gps, const std::string& bytes, GpsDecodeContext context = {}) {
    gps.DecodeRead(bytes.data(), bytes.size(), context);
}

// A sentence on its own, as playback hands it to the decoder.
inline void Parse(GpsState& gps, const std::string& sentence, GpsDecodeContext context = {}) {
    gps.currentSentence = sentence;
    gps.ParseGpsSentence(context);
}

inline constexpr const char* kExampleGga =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

// A locale whose decimal point is a comma, built with localedef into a temporary directory
// and made the C library's numeric locale (as Qt does from the environment).
class TempDirForLocale {
public:
    ~TempDirForLocale() { Restore(); }
    bool Install() {
        if (dir.path.empty()) return false;
        TempDir::WriteText(dir.File("comma.def"),
                           "LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\n"
                           "grouping 3;3\nEND LC_NUMERIC\n");
        const std::string command = "localedef -c -i '" + dir.File("comma.def") +
                                    "' -f ANSI_X3.4-1968 '" + dir.File("comma") +
                                    "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1) return false;
        ::setenv("LOCPATH", dir.path.c_str(), 1);
        installed = std::setlocale(LC_NUMERIC, "comma") != nullptr;
        return installed;
    }
    void Restore() {
        if (!installed) return;
        std::setlocale(LC_NUMERIC, "C");
        ::unsetenv("LOCPATH");
        installed = false;
    }

private:
    TempDir dir;
    bool installed = false;
};
