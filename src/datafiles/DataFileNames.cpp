#include "datafiles/DataFileNames.h"

#include <cctype>
#include <cstdio>

#include "datafiles/DataFile.h"

bool HasSvxEnding(const std::string& name) {
    if (name.size() < 3) return false;
    std::string tail = name.substr(name.size() - 3);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == "svx";
}

bool HasXtfEnding(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".xtf";
}

std::string ProposedRecordingName(const LocalTime& now) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d%02d%02d %02d-%02d-%02d.svx", now.year % 100, now.month,
                  now.day, now.hour, now.minute, now.second);
    return text;
}

std::string WithDefaultExtension(const std::string& path) {
    const std::string name = FileNameOf(path);
    if (name.empty() || name.find('.') != std::string::npos) return path;
    return path + ".svx";
}

std::string EventFileNameFor(const std::string& dataPath) {
    const std::size_t keep = dataPath.size() < 3 ? 0 : dataPath.size() - 3;
    return dataPath.substr(0, keep) + "an";
}
