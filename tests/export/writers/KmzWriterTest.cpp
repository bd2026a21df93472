// The KMZ of a mosaic read back from the zip: one overlay up to 4096 pixels a side, beyond that
// a super-overlay whose levels tile the mosaic's box, link only files the archive holds and
// leave out tiles without data. Positions are worked out with GeographicLib's UTM.

#include <gtest/gtest.h>
#include <spng.h>

#include <cmath>
#include <filesystem>
#include <set>

#include "KmzTestMosaics.h"

namespace {

using namespace kmztest;

double Overlap(const GeoBox& a, const GeoBox& b) {
    const double w = std::min(a.east, b.east) - std::max(a.west, b.west);
    const double h = std::min(a.north, b.north) - std::max(a.south, b.south);
    return w > 0 && h > 0 ? w * h : 0.0;
}

TEST(KmzWriterTest, OneOverlayUpTo4096PixelsAndLevelsBeyond) {
    struct Case {
        int cols, rows;
        bool levels;
    };
    for (const Case c : {Case{4096, 64, false}, Case{4097, 64, true}, Case{64, 4097, true}}) {
        SCOPED_TRACE(std::to_string(c.cols) + " x " + std::to_string(c.rows));
        TempDir dir;
        const auto files = WriteAndRead(Rectangle{c.cols, c.rows}.Make(), dir);
        ASSERT_TRUE(files.count("doc.kml"));
        const std::string& doc = files.at("doc.kml");
        EXPECT_EQ(doc.find("<NetworkLink>") != std::string::npos, c.levels);
        EXPECT_EQ(doc.find("<GroundOverlay>") == std::string::npos, c.levels);
        EXPECT_EQ(files.count("overlay.png") == 0, c.levels);
        if (!c.levels) {
            EXPECT_EQ(files.size(), 2u);
            EXPECT_EQ(PngSize(files.at("overlay.png")), std::make_pair(c.cols, c.rows));
        }
    }
}

TEST(KmzWriterTest, EveryLevelTilesTheWholeBoxAndEveryLinkIsInTheZip) {
    TempDir dir;
    const Rectangle rect{5000, 1200};
    const auto files = WriteAndRead(rect.Make(), dir);
    std::vector<std::string> linked;
    const auto levels = WalkLevels(files, linked);
    ASSERT_GE(levels.size(), 2u);
    ASSERT_EQ(levels[0].size(), 1u) << "one tile at the top";
    const GeoBox whole = levels[0][0].box;
    // The box holds the mosaic's corners (to a millimetre: the outline was projected by GDAL).
    for (const auto& [c, r] :
         std::initializer_list<std::pair<int, int>>{{0, 0}, {5000, 0}, {0, 1200}, {5000, 1200}}) {
        const auto [lat, lon] = rect.LatLon(c, r);
        EXPECT_TRUE(whole.Contains(lat, lon, 1e-8)) << c << " " << r;
    }
    // Every file linked is in the zip, and the zip holds nothing else.
    const std::set<std::string> names(linked.begin(), linked.end());
    EXPECT_EQ(names.size(), linked.size()) << "a file linked twice";
    for (const std::string& name : linked) EXPECT_TRUE(files.count(name)) << name;
    EXPECT_EQ(files.size(), names.size() + 1) << "files that nothing links";

    double pixelDegrees = 0;  // of the level above
    for (std::size_t z = 0; z < levels.size(); ++z) {
        SCOPED_TRACE("level " + std::to_string(z));
        double area = 0;
        for (std::size_t a = 0; a < levels[z].size(); ++a) {
            const OverlayTile& t = levels[z][a];
            EXPECT_NEAR(Overlap(t.box, t.ownRegion), t.box.Area(), 1e-15);
            EXPECT_NEAR(Overlap(t.box, t.parentRegion), t.box.Area(), 1e-15);
            EXPECT_NEAR(Overlap(t.box, whole), t.box.Area(), 1e-15) << "inside the whole box";
            EXPECT_GT(t.width, 0);
            EXPECT_LE(t.width, 512);
            EXPECT_LE(t.height, 512);
            area += t.box.Area();
            for (std::size_t b = a + 1; b < levels[z].size(); ++b) {
                EXPECT_LT(Overlap(t.box, levels[z][b].box), 1e-12 * whole.Area()) << a << " " << b;
            }
        }
        EXPECT_NEAR(area, whole.Area(), 1e-9 * whole.Area()) << "gaps between the tiles";
        // Each level has pixels half the size of the one above.
        const OverlayTile& first = levels[z][0];
        const double pixel = (first.box.east - first.box.west) / first.width;
        if (z > 0) {  // the boxes are written to 1e-9 degrees
            EXPECT_NEAR(pixel * 2, pixelDegrees, 2e-9 / first.width);
        }
        pixelDegrees = pixel;
    }
    // The finest level has the mosaic's metre pixels (a metre of longitude at 54 degrees).
    const double lat = (whole.north + whole.south) / 2;
    const double metre = 1.0 / (111412.0 * std::cos(lat * kPi / 180.0));
    EXPECT_NEAR(pixelDegrees, metre, 0.01 * metre);
    EXPECT_GT(levels[1].size(), 1u) << "no level above the one that fits one tile";
}

// The value of the tile's pixel at a latitude and longitude, and the alpha of value 0.
std::pair<int, int> PixelAndClearAlpha(const OverlayTile& tile, const std::string& png, double lat,
                                       double lon) {
    std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> ctx(spng_ctx_new(0), spng_ctx_free);
    spng_set_png_buffer(ctx.get(), png.data(), png.size());
    std::size_t size = 0;
    spng_decoded_image_size(ctx.get(), SPNG_FMT_PNG, &size);
    std::vector<std::uint8_t> pixels(size);
    EXPECT_EQ(spng_decode_image(ctx.get(), pixels.data(), size, SPNG_FMT_PNG, 0), 0);
    spng_trns trns{};
    EXPECT_EQ(spng_get_trns(ctx.get(), &trns), 0);
    const int i = int((lon - tile.box.west) / (tile.box.east - tile.box.west) * tile.width);
    const int j = int((tile.box.north - lat) / (tile.box.north - tile.box.south) * tile.height);
    return {pixels[std::size_t(j) * tile.width + i], trns.type3_alpha[0]};
}

TEST(KmzWriterTest, TilesWithoutDataAreLeftOutAndClearWhereNoPingReached) {
    TempDir dir;
    const Rectangle rect{5000, 1200, 1500, 3100};  // a 1600 m wide gap, three tiles wide
    const auto files = WriteAndRead(rect.Make(), dir);
    std::vector<std::string> linked;
    const auto levels = WalkLevels(files, linked);
    ASSERT_GE(levels.size(), 2u);
    const std::vector<OverlayTile>& finest = levels.back();
    const auto tileAt = [&](double c, double r) -> const OverlayTile* {
        const auto [lat, lon] = rect.LatLon(c, r);
        for (const OverlayTile& t : finest) {
            if (t.box.Contains(lat, lon)) return &t;
        }
        return nullptr;
    };
    // No tile lies wholly in the gap; its middle is in none.
    for (const OverlayTile& t : finest) {
        const double west =
            std::min(rect.Across(t.box.north, t.box.west), rect.Across(t.box.south, t.box.west));
        const double east =
            std::max(rect.Across(t.box.north, t.box.east), rect.Across(t.box.south, t.box.east));
        EXPECT_FALSE(west > 1502 && east < 3098) << t.image << " holds no data";
    }
    EXPECT_EQ(tileAt(2300, 600), nullptr);
    // Every place with data is in a tile.
    for (int r = 5; r < 1200; r += 97) {
        for (int c = 5; c < 5000; c += 97) {
            if (c >= 1500 && c < 3100) continue;
            EXPECT_NE(tileAt(c, r), nullptr) << c << " " << r;
        }
    }
    // A tile across the gap's edge: the samples west of it, clear pixels in it.
    const OverlayTile* edge = tileAt(1490, 300);
    ASSERT_NE(edge, nullptr);
    ASSERT_TRUE(edge->box.Contains(rect.LatLon(1510, 300).first, rect.LatLon(1510, 300).second));
    const auto [latIn, lonIn] = rect.LatLon(1510, 300);
    const auto [latOut, lonOut] = rect.LatLon(1490, 300);
    const std::string& png = files.at(edge->image);
    EXPECT_EQ(PixelAndClearAlpha(*edge, png, latIn, lonIn), std::make_pair(0, 0));
    EXPECT_NE(PixelAndClearAlpha(*edge, png, latOut, lonOut).first, 0);
}
TEST(KmzWriterTest, AFailedWriteLeavesNoFile) {
    for (const int cols : {300, 5000}) {
        TempDir dir;
        const std::string path = dir.File("no/such/dir/m.kmz");
        std::string error;
        EXPECT_FALSE(svx::WriteKmz(Rectangle{cols, 100}.Make(), Grey(), path, error));
        EXPECT_EQ(error.rfind("cannot write " + path + ": ", 0), 0u) << error;
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

}  // namespace
