#include "gps/GpsDevices.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

// Serial ports of one kind, numbered naturally (ttyS2 before ttyS10).
std::vector<std::string> Matching(const std::string& directory, const std::string& prefix) {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0) found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    });
    return found;
}

}  // namespace

std::string GpsPortDevice(int port) {
    return "/dev/ttyS" + std::to_string(port - 1);
}

std::vector<std::string> ListGpsDevices(const std::string& configured, const std::string& root) {
    std::vector<std::string> devices;
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
        for (std::string& path : Matching(root, prefix)) devices.push_back(std::move(path));
    }
    for (std::string& path : Matching(root + "/serial/by-id", "")) {
        devices.push_back(std::move(path));
    }
    if (!configured.empty() &&
        std::find(devices.begin(), devices.end(), configured) == devices.end()) {
        devices.push_back(configured);
    }
    return devices;
}

std::string GpsPortEntry::Text() const {
    return byId.empty() ? device : device + "  [" + byId + "]";
}

std::vector<GpsPortEntry> FindGpsPortEntries(const std::string& root) {
    std::vector<GpsPortEntry> entries;
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
        for (std::string& path : Matching(root, prefix)) entries.push_back({std::move(path), {}});
    }
    // Compared by their resolved paths: the library's equivalent() refuses device nodes.
    std::vector<std::filesystem::path> resolved;
    std::error_code ec;
    for (const GpsPortEntry& entry : entries) {
        resolved.push_back(std::filesystem::canonical(entry.device, ec));
    }
    for (const std::string& link : Matching(root + "/serial/by-id", "")) {
        const std::filesystem::path target = std::filesystem::canonical(link, ec);
        if (ec) continue;  // a link to nothing: its receiver is not plugged in
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].byId.empty() && !resolved[i].empty() && resolved[i] == target) {
                entries[i].byId = link;
                break;
            }
        }
    }
    return entries;
}

std::vector<GpsPortEntry> KeepOpenable(const std::vector<GpsPortEntry>& entries,
                                       const std::function<bool(const std::string&)>& probe) {
    std::vector<GpsPortEntry> openable;
    for (const GpsPortEntry& entry : entries) {
        if (probe(entry.device)) openable.push_back(entry);
    }
    return openable;
}
