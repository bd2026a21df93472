#include "CoverageFeatures.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cstdint>

#include "CoveragePolygons.h"
#include "export/writers/GdalSupport.h"

namespace cli {

namespace {

constexpr const char* kSide = "port+starboard";  // what either side covered

struct Field {
    const char* name;
    OGRFieldType type;
};
constexpr Field kFields[] = {
    {"kind", OFTString},
    {"side", OFTString},
    {"name", OFTString},
    {"number", OFTInteger},
    {"area_m2", OFTReal},
    {"length_m", OFTReal},
    {"sailed_m", OFTReal},
    {"pings", OFTInteger},
    {"mean_cross_track_m", OFTReal},
    {"max_cross_track_m", OFTReal},
    {"corridor_m2", OFTReal},
    {"covered_share", OFTReal},
};

OGRSpatialReferenceH Srs(int epsg) {
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    OSRSetAxisMappingStrategy(srs, OAMS_TRADITIONAL_GIS_ORDER);  // longitude, easting first
    return srs;
}

// The output layer and what each feature needs to be written into it.
class FeatureSink {
public:
    FeatureSink(OGRLayerH layer, OGRCoordinateTransformationH toWgs84)
        : layer(layer), toWgs84(toWgs84) {}

    // A polygon in UTM, transformed; the feature is filled by `fill`.
    template <class Fill>
    bool AddPolygon(OGRGeometryH utm, Fill&& fill) {
        Geometry geometry(OGR_G_Clone(utm));
        if (OGR_G_Transform(geometry.get(), toWgs84) != OGRERR_NONE) return false;
        return Add(geometry.get(), fill);
    }
    template <class Fill>
    bool Add(OGRGeometryH geometry, Fill&& fill) {
        OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        OGR_F_SetGeometry(feature, geometry);
        fill(feature);
        const bool ok = OGR_L_CreateFeature(layer, feature) == OGRERR_NONE;
        OGR_F_Destroy(feature);
        return ok;
    }

private:
    OGRLayerH layer;
    OGRCoordinateTransformationH toWgs84;
};

// Fields are set by name: a driver may keep some apart (KML's name and description) and
// number the others differently from the order they were made in.
void SetText(OGRFeatureH feature, const char* field, const char* value) {
    if (const int i = OGR_F_GetFieldIndex(feature, field); i >= 0)
        OGR_F_SetFieldString(feature, i, value);
}

void SetNumber(OGRFeatureH feature, const char* field, double value) {
    if (const int i = OGR_F_GetFieldIndex(feature, field); i >= 0)
        OGR_F_SetFieldDouble(feature, i, value);
}

void SetLineStats(OGRFeatureH f, const survey::LineStats& s) {
    SetText(f, "kind", "line");
    SetText(f, "name", s.name.c_str());
    SetNumber(f, "length_m", s.lengthM);
    SetNumber(f, "sailed_m", s.sailedM);
    SetNumber(f, "pings", static_cast<double>(s.pings));
    SetNumber(f, "mean_cross_track_m", s.meanCrossTrackM);
    SetNumber(f, "max_cross_track_m", s.maxCrossTrackM);
    SetNumber(f, "corridor_m2", s.corridorM2);
    SetNumber(f, "covered_share", s.CoveredShare());
}

bool WriteAll(const CoverageFeatures& in, FeatureSink& sink, FeatureCounts& counts,
              std::string& error) {
    std::vector<ValuePolygon> covered, holidays;
    if (!PolygonizeCoverage(*in.coverage, covered, error)) return false;
    for (const ValuePolygon& p : covered) {
        const double area = OGR_G_Area(p.geometry.get());
        if (!sink.AddPolygon(p.geometry.get(), [area](OGRFeatureH f) {
                SetText(f, "kind", "coverage");
                SetText(f, "side", kSide);
                SetNumber(f, "area_m2", area);
            }))
            return false;
        ++counts.coverage;
    }
    if (!in.plan || !in.lines) return true;
    if (!PolygonizeHolidays(*in.coverage, in.plan->runs, holidays, error)) return false;
    for (const ValuePolygon& p : holidays) {
        const double area = OGR_G_Area(p.geometry.get());
        if (!sink.AddPolygon(p.geometry.get(), [&p, area](OGRFeatureH f) {
                SetText(f, "kind", "holiday");
                SetNumber(f, "number", p.value);
                SetNumber(f, "area_m2", area);
            }))
            return false;
        ++counts.holidays;
    }
    for (std::size_t i = 0; i < in.lines->size() && i < in.plan->lines.size(); ++i) {
        Geometry line(OGR_G_CreateGeometry(wkbLineString));
        for (const survey::GeoPoint& p : (*in.lines)[i].points) {
            OGR_G_AddPoint_2D(line.get(), p.longitude, p.latitude);
        }
        const survey::LineStats& stats = in.plan->lines[i];
        if (!sink.Add(line.get(), [&stats](OGRFeatureH f) { SetLineStats(f, stats); }))
            return false;
        ++counts.lines;
    }
    return true;
}

}  // namespace

bool WriteCoverageFeatures(const CoverageFeatures& features, const std::string& path,
                           FeatureFormat format, FeatureCounts& counts, std::string& error) {
    svx::RegisterGdal();
    const svx::QuietGdalErrors quiet;  // and the last error cleared
    const bool json = format == FeatureFormat::GeoJson;
    GDALDriverH driver = GDALGetDriverByName(json ? "GeoJSON" : "KML");
    VSIUnlink(path.c_str());
    GDALDatasetH dataset =
        driver ? GDALCreate(driver, path.c_str(), 0, 0, 0, GDT_Unknown, nullptr) : nullptr;
    if (!dataset) {
        error = "cannot write " + path + ": " + svx::LastGdalError("no such driver");
        return false;
    }
    OGRSpatialReferenceH wgs84 = Srs(4326);
    OGRSpatialReferenceH utm = Srs(CoverageEpsg(*features.coverage));
    OGRCoordinateTransformationH toWgs84 = OCTNewCoordinateTransformation(utm, wgs84);
    char** options = json ? CSLSetNameValue(nullptr, "RFC7946", "YES") : nullptr;
    OGRLayerH layer = GDALDatasetCreateLayer(dataset, "coverage", wgs84, wkbUnknown, options);
    CSLDestroy(options);
    bool ok = layer != nullptr && toWgs84 != nullptr;
    for (const Field& field : kFields) {
        if (!ok) break;
        OGRFieldDefnH definition = OGR_Fld_Create(field.name, field.type);
        ok = OGR_L_CreateField(layer, definition, TRUE) == OGRERR_NONE;
        OGR_Fld_Destroy(definition);
    }
    std::string reason;
    if (ok) {
        FeatureSink sink(layer, toWgs84);
        ok = WriteAll(features, sink, counts, reason);
    }
    if (ok) CPLErrorReset();
    GDALClose(dataset);
    if (ok && CPLGetLastErrorType() == CE_Failure) ok = false;
    if (toWgs84) OCTDestroyCoordinateTransformation(toWgs84);
    OSRDestroySpatialReference(wgs84);
    OSRDestroySpatialReference(utm);
    if (!ok) {
        VSIUnlink(path.c_str());
        error =
            "cannot write " + path + ": " + (reason.empty() ? svx::LastGdalError("GDAL failed") : reason);
    }
    return ok;
}

}  // namespace cli
