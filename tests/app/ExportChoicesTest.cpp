// What File > Export proposes and how the chosen name decides the output.

#include <gtest/gtest.h>

#include <set>

#include "app/ExportChoices.h"

namespace {

using svx::ExportKind;
using svx::GeoFormat;

TEST(ExportChoicesTest, TheOutputIsProposedBesideTheDataFileUnderItsName) {
    struct Case {
        ExportKind kind;
        const char* proposed;
    };
    const Case cases[] = {
        {ExportKind::Xtf, "line 7.xtf"},           {ExportKind::GeoTiff, "line 7.tif"},
        {ExportKind::Kmz, "line 7.kmz"},           {ExportKind::Track, "line 7-track.gpx"},
        {ExportKind::Events, "line 7-events.csv"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProposedOutputName(ChoiceOf(c.kind), "/data/survey/line 7.svx"), c.proposed);
    }
}

TEST(ExportChoicesTest, TheChosenNameGivesTheFormatOrGetsTheFirstExtension) {
    struct Case {
        ExportKind kind;
        const char* chosen;
        const char* path;
        GeoFormat format;
    };
    const Case cases[] = {
        {ExportKind::Track, "/o/t.kml", "/o/t.kml", GeoFormat::Kml},
        {ExportKind::Track, "/o/t.CSV", "/o/t.CSV", GeoFormat::Csv},
        {ExportKind::Track, "/o/t", "/o/t.gpx", GeoFormat::Gpx},
        {ExportKind::Track, "/o/t.txt", "/o/t.txt.gpx", GeoFormat::Gpx},
        {ExportKind::Events, "/o/e.kml", "/o/e.kml", GeoFormat::Kml},
        {ExportKind::Events, "/o/e.gpx", "/o/e.gpx.csv", GeoFormat::Csv},  // no GPX of events
        {ExportKind::Events, "/o.d/e", "/o.d/e.csv", GeoFormat::Csv},
        {ExportKind::GeoTiff, "/o/m.TIFF", "/o/m.TIFF", GeoFormat::Csv},
        {ExportKind::GeoTiff, "/o/m", "/o/m.tif", GeoFormat::Csv},
        {ExportKind::Kmz, "/o/m.zip", "/o/m.zip.kmz", GeoFormat::Csv},
        {ExportKind::Xtf, "/o/x.xtf", "/o/x.xtf", GeoFormat::Csv},
    };
    for (const Case& c : cases) {
        const ChosenOutput out = ChooseOutput(ChoiceOf(c.kind), c.chosen);
        EXPECT_EQ(out.path, c.path) << c.chosen;
        EXPECT_EQ(out.format, c.format) << c.chosen;
    }
}

TEST(ExportChoicesTest, EachExportHasItsOwnCommandAndTexts) {
    std::set<int> commands;
    std::set<std::string> titles;
    for (const ExportChoice& choice : ExportChoices()) {
        EXPECT_EQ(&ChoiceOf(choice.kind), &choice);
        commands.insert(choice.command);
        titles.insert(choice.title);
        EXPECT_NE(std::string(choice.filter).find(choice.extensions[0]), std::string::npos)
            << choice.filter;
    }
    EXPECT_EQ(commands.size(), 5u);
    EXPECT_EQ(titles.size(), 5u);
}

TEST(ExportChoicesTest, TheSurveyMosaicsNameGivesGeoTiffOrKmz) {
    struct Case {
        std::string chosen, path;
        ExportKind kind;
    };
    for (const Case& c : {Case{"/o/s.kmz", "/o/s.kmz", ExportKind::Kmz},
                          Case{"/o/s.KMZ", "/o/s.KMZ", ExportKind::Kmz},
                          Case{"/o/s.tif", "/o/s.tif", ExportKind::GeoTiff},
                          Case{"/o/s.Tiff", "/o/s.Tiff", ExportKind::GeoTiff},
                          Case{"/o/s", "/o/s.tif", ExportKind::GeoTiff},
                          Case{"/o.kmz/s", "/o.kmz/s.tif", ExportKind::GeoTiff},
                          Case{"/o/s.kmz.png", "/o/s.kmz.png.tif", ExportKind::GeoTiff}}) {
        const SurveyOutput out = ChooseSurveyOutput(c.chosen);
        EXPECT_EQ(out.path, c.path) << c.chosen;
        EXPECT_EQ(out.kind, c.kind) << c.chosen;
    }
    EXPECT_EQ(ProposedSurveyName("/data/line 7.xtf"), "line 7-survey.tif");
}

}  // namespace
