#pragma once
// A KMZ read back for the tests: every file of the zip, the boxes and links of its KML, and
// the tiles of a super-overlay walked from doc.kml level by level.

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/TextFormat.h"

struct GeoBox {
    double north = 0, south = 0, east = 0, west = 0;
    double Area() const { return (north - south) * (east - west); }
    // Within `margin` degrees (boxes are written to 1e-9 degrees).
    bool Contains(double lat, double lon, double margin = 0) const {
        return lat <= north + margin && lat >= south - margin && lon <= east + margin &&
               lon >= west - margin;
    }
};

// Every file of the archive by name; empty when it cannot be opened.
inline std::map<std::string, std::string> ZipFiles(const std::string& path) {
    std::map<std::string, std::string> files;
    int code = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!archive) return files;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat);
        std::string bytes(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        const zip_int64_t read = file ? zip_fread(file, bytes.data(), stat.size) : -1;
        if (file) zip_fclose(file);
        EXPECT_EQ(read, static_cast<zip_int64_t>(stat.size)) << stat.name;
        files[stat.name] = bytes;
    }
    zip_close(archive);
    return files;
}

// The text between <tag> and </tag> from `from` on, or empty; `from` moves past it.
inline std::string Element(const std::string& text, const std::string& tag, std::size_t& from) {
    const std::size_t begin = text.find("<" + tag + ">", from);
    if (begin == std::string::npos) return {};
    const std::size_t start = begin + tag.size() + 2;
    const std::size_t end = text.find("</" + tag + ">", start);
    if (end == std::string::npos) return {};
    from = end + tag.size() + 3;
    return text.substr(start, end - start);
}

inline std::string First(const std::string& text, const std::string& tag) {
    std::size_t from = 0;
    return Element(text, tag, from);
}

inline double Number(const std::string& text, const std::string& tag) {
    const std::optional<double> value = ParseNumber(First(text, tag));
    EXPECT_TRUE(value.has_value()) << tag << " in " << text;
    return value.value_or(0.0);
}

inline GeoBox BoxOf(const std::string& box) {
    return {Number(box, "north"), Number(box, "south"), Number(box, "east"), Number(box, "west")};
}

// A PNG's width and height from its header.
inline std::pair<int, int> PngSize(const std::string& png) {
    if (png.size() < 24 || png.substr(1, 3) != "PNG") return {0, 0};
    const auto at = [&](std::size_t k) {
        return int(std::uint8_t(png[k])) << 24 | int(std::uint8_t(png[k + 1])) << 16 |
               int(std::uint8_t(png[k + 2])) << 8 | int(std::uint8_t(png[k + 3]));
    };
    return {at(16), at(20)};
}

// One tile of a super-overlay: its KML, its overlay's box and image, the regions its parent
// gave it and it gives itself.
struct OverlayTile {
    std::string kml, image;
    GeoBox box, ownRegion, parentRegion;
    int width = 0, height = 0;
};

// The tiles of each level, walked from doc.kml through the NetworkLinks; every href met is
// added to `linked`.
inline std::vector<std::vector<OverlayTile>> WalkLevels(
    const std::map<std::string, std::string>& files, std::vector<std::string>& linked) {
    std::vector<std::vector<OverlayTile>> levels;
    std::vector<std::pair<std::string, GeoBox>> next;  // kml files of the next level
    const auto links = [&](const std::string& kml) {
        std::size_t from = 0;
        for (std::string link; !(link = Element(kml, "NetworkLink", from)).empty();) {
            const std::string href = First(link, "href");
            linked.push_back(href);
            next.push_back({href, BoxOf(First(link, "LatLonAltBox"))});
        }
    };
    links(files.at("doc.kml"));
    while (!next.empty()) {
        levels.emplace_back();
        std::vector<std::pair<std::string, GeoBox>> current;
        current.swap(next);
        for (const auto& [name, region] : current) {
            if (!files.count(name)) continue;
            OverlayTile tile;
            tile.kml = files.at(name);
            tile.parentRegion = region;
            tile.ownRegion = BoxOf(First(tile.kml, "LatLonAltBox"));
            const std::string overlay = First(tile.kml, "GroundOverlay");
            tile.box = BoxOf(First(overlay, "LatLonBox"));
            tile.image = First(overlay, "href");
            linked.push_back(tile.image);
            if (files.count(tile.image)) {
                std::tie(tile.width, tile.height) = PngSize(files.at(tile.image));
            }
            links(tile.kml);
            levels.back().push_back(tile);
        }
    }
    return levels;
}
