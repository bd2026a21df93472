// The super-overlay of a large mosaic. The full-resolution latitude/longitude grid is cut into
// tiles of 512 x 512 pixels; each level above halves the resolution, up to one tile holding
// the whole grid. A tile is a PNG, its GroundOverlay and a Region in a KML of its own, which
// links the tiles of the next level under it by NetworkLinks with their Regions: Google Earth
// loads a tile once its region covers 128 pixels of the screen and drops a coarse one once it
// covers 1024, when its four finer tiles have taken over.
//
// The grid is widened east and south to a whole number of pixels of the top level (less than
// one such pixel), so that every pixel of a level covers exactly 2 x 2 pixels of the level
// below and the tiles of every level cover the same box. Finest tiles are resampled from the
// mosaic; a coarser pixel is the mean of the four below it that hold data. A tile without
// data is not written, nor linked.
//
// Memory: the PNGs of all the tiles (kept until the zip is written), plus the pixels of one
// tile per level while the pyramid is built depth first.

#include <algorithm>

#include "common/TextFormat.h"
#include "export/writers/KmzParts.h"

namespace svx {

namespace {

constexpr int kTile = 512;
constexpr int kMinLodPixels = 128;    // a tile is loaded once its region is this large
constexpr int kDropLodPixels = 1024;  // and a coarse tile dropped when it is this large

struct TileId {
    int level = 0;  // 0 the top
    std::int64_t x = 0, y = 0;
};

// A tile's pixels in the finest grid: columns i0 .. i1, rows j0 .. j1 (ends excluded).
struct Span {
    std::int64_t i0, j0, i1, j1;
};

class Pyramid {
public:
    Pyramid(const Mosaic& m, const ColourTable& colours, const LatLonGrid& g, std::int64_t w,
            std::int64_t h, KmzArchive& out)
        : mosaic(m), table(colours), grid(g), archive(out) {
        while ((std::int64_t{kTile} << (levels - 1)) < std::max(w, h)) ++levels;
        const std::int64_t top = Scale(0);
        width = (w + top - 1) / top * top;
        height = (h + top - 1) / top * top;
    }

    // Writes the tiles under `t` depth first; its pixels, empty when it holds no data.
    std::vector<std::uint8_t> Build(const TileId& t, std::string& error);
    std::string RootKml() const;

private:
    std::int64_t Scale(int level) const { return std::int64_t{1} << (levels - 1 - level); }
    Span SpanOf(const TileId& t) const {
        const std::int64_t side = kTile * Scale(t.level);
        return {t.x * side, t.y * side, std::min((t.x + 1) * side, width),
                std::min((t.y + 1) * side, height)};
    }
    bool Exists(const TileId& t) const {
        return t.x * kTile * Scale(t.level) < width && t.y * kTile * Scale(t.level) < height;
    }
    std::vector<std::uint8_t> Finest(const Span& s) const;
    std::string RegionText(const Span& s, int minLod, int maxLod) const;
    std::string LinkText(const TileId& t, int minLod) const;
    std::string TileKml(const TileId& t, const std::vector<TileId>& children) const;

    const Mosaic& mosaic;
    const ColourTable& table;
    LatLonGrid grid;
    KmzArchive& archive;
    int levels = 1;
    std::int64_t width = 0, height = 0;  // the finest grid, widened to whole top pixels
};

std::string NameOf(const TileId& t) {
    return Printf("%d_%lld_%lld", t.level, static_cast<long long>(t.x),
                  static_cast<long long>(t.y));
}

constexpr const char* kKmlHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";

// Adds the child's pixels, halved, into the parent's quadrant at (x0, y0).
void Halve(const std::vector<std::uint8_t>& child, int cw, int ch, std::uint8_t* parent, int pw,
           int x0, int y0) {
    for (int j = 0; j < ch / 2; ++j) {
        const std::uint8_t* a = child.data() + static_cast<std::size_t>(2 * j) * cw;
        const std::uint8_t* b = a + cw;
        std::uint8_t* out = parent + static_cast<std::size_t>(y0 + j) * pw + x0;
        for (int i = 0; i < cw / 2; ++i) {
            const std::uint8_t v[4] = {a[2 * i], a[2 * i + 1], b[2 * i], b[2 * i + 1]};
            int sum = 0, n = 0;
            for (std::uint8_t s : v) {
                sum += s;
                n += s != 0;
            }
            out[i] = n ? static_cast<std::uint8_t>((sum + n / 2) / n) : 0;
        }
    }
}

std::vector<std::uint8_t> Pyramid::Finest(const Span& s) const {
    if (!MayHoldData(mosaic, grid, s.i0, s.j0, s.i1, s.j1)) return {};
    const int w = static_cast<int>(s.i1 - s.i0), h = static_cast<int>(s.j1 - s.j0);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h);
    for (int j = 0; j < h; ++j) {
        ResampleSpan(mosaic, grid, s.j0 + j, s.i0, w,
                     pixels.data() + static_cast<std::size_t>(j) * w);
    }
    return pixels;
}

std::vector<std::uint8_t> Pyramid::Build(const TileId& t, std::string& error) {
    const Span s = SpanOf(t);
    const std::int64_t scale = Scale(t.level);
    const int w = static_cast<int>((s.i1 - s.i0) / scale),
              h = static_cast<int>((s.j1 - s.j0) / scale);
    std::vector<TileId> children;
    std::vector<std::uint8_t> pixels;
    if (t.level == levels - 1) {
        pixels = Finest(s);
    } else {
        pixels.assign(static_cast<std::size_t>(w) * h, 0);
        for (int k = 0; k < 4; ++k) {
            const TileId c{t.level + 1, 2 * t.x + (k & 1), 2 * t.y + (k >> 1)};
            if (!Exists(c)) continue;
            const std::vector<std::uint8_t> child = Build(c, error);
            if (!error.empty()) return {};
            if (child.empty()) continue;
            children.push_back(c);
            const Span cs = SpanOf(c);
            Halve(child, static_cast<int>((cs.i1 - cs.i0) * 2 / scale),
                  static_cast<int>((cs.j1 - cs.j0) * 2 / scale), pixels.data(), w,
                  (k & 1) * kTile / 2, (k >> 1) * kTile / 2);
        }
    }
    if (std::none_of(pixels.begin(), pixels.end(), [](std::uint8_t v) { return v != 0; }))
        return {};
    std::string png = EncodePng(w, h, pixels, table, error);
    if (!error.empty()) return {};
    archive.Add(NameOf(t) + ".png", std::move(png), true);
    archive.Add(NameOf(t) + ".kml", TileKml(t, children), false);
    return pixels;
}

std::string Pyramid::RegionText(const Span& s, int minLod, int maxLod) const {
    return "<Region><LatLonAltBox>" +
           BoxText(grid.north - s.j0 * grid.dLat, grid.north - s.j1 * grid.dLat,
                   grid.west + s.i1 * grid.dLon, grid.west + s.i0 * grid.dLon) +
           Printf(
               "</LatLonAltBox><Lod><minLodPixels>%d</minLodPixels>"
               "<maxLodPixels>%d</maxLodPixels></Lod></Region>",
               minLod, maxLod);
}

std::string Pyramid::LinkText(const TileId& t, int minLod) const {
    const std::string name = NameOf(t);
    return "<NetworkLink><name>" + name + "</name>" + RegionText(SpanOf(t), minLod, -1) +
           "<Link><href>" + name +
           ".kml</href><viewRefreshMode>onRegion</viewRefreshMode></Link></NetworkLink>\n";
}

std::string Pyramid::TileKml(const TileId& t, const std::vector<TileId>& children) const {
    const Span s = SpanOf(t);
    const std::string name = NameOf(t);
    const int minLod = t.level == 0 ? 0 : kMinLodPixels;
    std::string kml = kKmlHead + ("<name>" + name + "</name>\n") +
                      RegionText(s, minLod, t.level == levels - 1 ? -1 : kDropLodPixels) +
                      Printf("\n<GroundOverlay><drawOrder>%d</drawOrder>", t.level) +
                      "<Icon><href>" + name + ".png</href></Icon><LatLonBox>" +
                      BoxText(grid.north - s.j0 * grid.dLat, grid.north - s.j1 * grid.dLat,
                              grid.west + s.i1 * grid.dLon, grid.west + s.i0 * grid.dLon) +
                      "</LatLonBox></GroundOverlay>\n";
    for (const TileId& c : children) kml += LinkText(c, kMinLodPixels);
    return kml + "</Document>\n</kml>\n";
}

std::string Pyramid::RootKml() const {
    const TileId root{};
    return kKmlHead + ("<name>" + XmlText("Sonvara mosaic") + "</name>\n") +
           (archive.Empty() ? std::string() : LinkText(root, 0)) + "</Document>\n</kml>\n";
}

}  // namespace

bool AddTilePyramid(const Mosaic& mosaic, const ColourTable& table, const LatLonGrid& grid,
                    std::int64_t width, std::int64_t height, KmzArchive& archive,
                    std::string& error) {
    Pyramid pyramid(mosaic, table, grid, width, height, archive);
    pyramid.Build(TileId{}, error);
    if (!error.empty()) return false;
    archive.Add("doc.kml", pyramid.RootKml(), false);
    return true;
}

}  // namespace svx
