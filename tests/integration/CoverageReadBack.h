#pragma once
// The features a coverage file holds, read back as other programs read them: through OGR (each
// polygon's validity and its area worked out in UTM zone 32) and through ogrinfo (counts of a
// kind, and of geometries GEOS finds not valid).

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <QRegularExpression>
#include <QString>

#include <map>
#include <string>
#include <vector>

#include "ProcessSupport.h"

namespace coveragetest {

struct Feature {
    std::string kind;
    OGRwkbGeometryType type = wkbUnknown;
    bool valid = false;
    double areaM2 = 0;  // in UTM zone 32
    std::map<std::string, double> numbers;
};

// The features of the file through OGR, each polygon's area worked out in UTM zone 32.
inline std::vector<Feature> ReadFeatures(const std::string& path) {
    GDALAllRegister();
    std::vector<Feature> features;
    GDALDatasetH dataset = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    EXPECT_NE(dataset, nullptr) << path;
    if (!dataset) return features;
    OGRSpatialReferenceH wgs = OSRNewSpatialReference(nullptr),
                         utm = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(wgs, 4326);
    OSRImportFromEPSG(utm, 32632);
    OSRSetAxisMappingStrategy(wgs, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH toUtm = OCTNewCoordinateTransformation(wgs, utm);
    OGRLayerH layer = GDALDatasetGetLayer(dataset, 0);
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    while (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
        Feature feature;
        feature.kind = OGR_F_GetFieldAsString(f, OGR_F_GetFieldIndex(f, "kind"));
        for (int i = 0; i < OGR_FD_GetFieldCount(definition); ++i) {
            if (OGR_F_IsFieldSetAndNotNull(f, i) &&
                OGR_Fld_GetType(OGR_FD_GetFieldDefn(definition, i)) != OFTString)
                feature.numbers[OGR_Fld_GetNameRef(OGR_FD_GetFieldDefn(definition, i))] =
                    OGR_F_GetFieldAsDouble(f, i);
        }
        OGRGeometryH g = OGR_F_GetGeometryRef(f);
        if (g) {
            feature.type = wkbFlatten(OGR_G_GetGeometryType(g));
            feature.valid = OGR_G_IsValid(g);
            OGRGeometryH projected = OGR_G_Clone(g);
            if (OGR_G_Transform(projected, toUtm) == OGRERR_NONE && feature.type != wkbLineString)
                feature.areaM2 = OGR_G_Area(projected);
            OGR_G_DestroyGeometry(projected);
        }
        features.push_back(feature);
        OGR_F_Destroy(f);
    }
    OCTDestroyCoordinateTransformation(toUtm);
    OSRDestroySpatialReference(wgs);
    OSRDestroySpatialReference(utm);
    GDALClose(dataset);
    return features;
}

inline std::vector<Feature> OfKind(const std::vector<Feature>& all, const std::string& kind) {
    std::vector<Feature> out;
    for (const Feature& f : all) {
        if (f.kind == kind) out.push_back(f);
    }
    return out;
}

// ogrinfo's count of the features of a kind.
inline int OgrinfoCount(const std::string& path, const std::string& kind) {
    const ProgramRun info = RunProgram(
        "ogrinfo", {"-ro", "-al", "-so", "-where", QString::fromStdString("kind='" + kind + "'"),
                    QString::fromStdString(path)});
    EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QRegularExpressionMatch m =
        QRegularExpression("Feature Count: (\\d+)").match(QString::fromUtf8(info.out));
    EXPECT_TRUE(m.hasMatch()) << info.out.toStdString();
    return m.captured(1).toInt();
}

// ogrinfo's count of the features whose geometry GEOS finds not valid (its SQLite dialect).
inline int OgrinfoInvalid(const std::string& path) {
    const ProgramRun info = RunProgram(
        "ogrinfo", {"-ro", "-dialect", "sqlite", "-sql",
                    "SELECT count(*) AS invalid FROM coverage WHERE NOT ST_IsValid(geometry)",
                    QString::fromStdString(path)});
    EXPECT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QRegularExpressionMatch m =
        QRegularExpression("invalid \\(Integer\\) = (\\d+)").match(QString::fromUtf8(info.out));
    EXPECT_TRUE(m.hasMatch()) << info.out.toStdString();
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

}  // namespace coveragetest
