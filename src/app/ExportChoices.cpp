#include "app/ExportChoices.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "shell/CommandIds.h"

namespace {

using svx::ExportKind;

constexpr ExportChoice kChoices[] = {
    {ExportKind::Xtf,
     kCmdExportXtf,
     "XTF...",
     "Export XTF",
     "XTF Files (*.xtf)",
     "",
     {".xtf", nullptr, nullptr}},
    {ExportKind::GeoTiff,
     kCmdExportGeoTiff,
     "GeoTIFF Mosaic...",
     "Export GeoTIFF Mosaic",
     "GeoTIFF Files (*.tif *.tiff)",
     "",
     {".tif", ".tiff", nullptr}},
    {ExportKind::Kmz,
     kCmdExportKmz,
     "Google Earth Overlay (KMZ)...",
     "Export Google Earth Overlay",
     "KMZ Files (*.kmz)",
     "",
     {".kmz", nullptr, nullptr}},
    {ExportKind::Track,
     kCmdExportTrack,
     "Track (GPX/KML/CSV)...",
     "Export Track",
     "GPX Files (*.gpx);;KML Files (*.kml);;CSV Files (*.csv)",
     "-track",
     {".gpx", ".kml", ".csv"}},
    {ExportKind::Events,
     kCmdExportEvents,
     "Events (CSV/KML)...",
     "Export Events",
     "CSV Files (*.csv);;KML Files (*.kml)",
     "-events",
     {".csv", ".kml", nullptr}},
};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

svx::GeoFormat FormatOfExtension(const std::string& extension) {
    if (extension == ".gpx") return svx::GeoFormat::Gpx;
    if (extension == ".kml") return svx::GeoFormat::Kml;
    return svx::GeoFormat::Csv;
}

}  // namespace

std::span<const ExportChoice> ExportChoices() {
    return kChoices;
}

const ExportChoice& ChoiceOf(ExportKind kind) {
    for (const ExportChoice& choice : kChoices) {
        if (choice.kind == kind) return choice;
    }
    return kChoices[0];
}

std::string ProposedOutputName(const ExportChoice& choice, const std::string& input) {
    return std::filesystem::path(input).stem().string() + choice.suffix + choice.extensions[0];
}

std::string ProposedSurveyName(const std::string& firstInput) {
    return std::filesystem::path(firstInput).stem().string() + "-survey.tif";
}

SurveyOutput ChooseSurveyOutput(const std::string& chosen) {
    const std::string extension = Lower(std::filesystem::path(chosen).extension().string());
    if (extension == ".kmz") return {chosen, ExportKind::Kmz};
    if (extension == ".tif" || extension == ".tiff") return {chosen, ExportKind::GeoTiff};
    return {chosen + ".tif", ExportKind::GeoTiff};
}

ChosenOutput ChooseOutput(const ExportChoice& choice, const std::string& chosen) {
    const std::string extension = Lower(std::filesystem::path(chosen).extension().string());
    ChosenOutput out{chosen, svx::GeoFormat::Csv};
    const bool known = std::any_of(std::begin(choice.extensions), std::end(choice.extensions),
                                   [&](const char* e) { return e && extension == e; });
    if (!known) out.path += choice.extensions[0];
    out.format = FormatOfExtension(known ? extension : choice.extensions[0]);
    return out;
}
