#pragma once
// What File > Export asks the operator for each product: the titles and filters of its file
// dialogs, the output proposed beside the data file, and how the chosen name decides the
// format of a track or events export.

#include <span>
#include <string>

#include "export/ExportJob.h"
#include "export/GeoTexts.h"
#include "shell/CommandIds.h"

inline constexpr const char* kExportInputTitle = "Export from Data File";
inline constexpr const char* kExportInputFilter = "Sonar Files (*.svx)";

// File > Export > Contact Report... (kCmdExportContactReport): several recordings at once,
// made by its own program (app/ui/ContactReportExporter), so it is not one of the choices
// below.
inline constexpr const char* kContactReportMenuText = "Contact Report...";

struct ExportChoice {
    svx::ExportKind kind;
    int command;               // its command identifier
    const char* menuText;      // the item of File > Export
    const char* title;         // of the save dialog and the progress window
    const char* filter;        // of the save dialog
    const char* suffix;        // added to the data file's name for the proposed output
    const char* extensions[3];  // the outputs it writes, the first one proposed
};

// The five exports in the order of the menu.
std::span<const ExportChoice> ExportChoices();
const ExportChoice& ChoiceOf(svx::ExportKind kind);

// "survey.xtf" for /data/survey.svx (the name only: the dialog starts in the file's folder).
std::string ProposedOutputName(const ExportChoice& choice, const std::string& input);

// File > Export > Survey Mosaic: several recordings (data files and XTF files mixed) into one
// GeoTIFF or KMZ mosaic.
inline constexpr const char* kSurveyMosaicMenuText = "Survey Mosaic...";
inline constexpr const char* kSurveyInputTitle = "Survey Mosaic: Recordings";
inline constexpr const char* kSurveyInputFilter =
    "Recordings (*.svx *.xtf);;Sonar Files (*.svx);;XTF Files (*.xtf)";
inline constexpr const char* kSurveyOutputTitle = "Export Survey Mosaic";
inline constexpr const char* kSurveyOutputFilter =
    "GeoTIFF Files (*.tif *.tiff);;KMZ Files (*.kmz)";

// "line 7-survey.tif" for /data/line 7.svx, the first recording chosen.
std::string ProposedSurveyName(const std::string& firstInput);
// The survey mosaic's file: a KMZ when the name ends in .kmz (without case), else a GeoTIFF,
// with .tif added when the name has neither a GeoTIFF's nor a KMZ's extension.
struct SurveyOutput {
    std::string path;
    svx::ExportKind kind = svx::ExportKind::GeoTiff;
};
SurveyOutput ChooseSurveyOutput(const std::string& chosen);

// The chosen output with the export's first extension added when it has none of its
// extensions (compared without case), and the format of a track or events export from it.
struct ChosenOutput {
    std::string path;
    svx::GeoFormat format = svx::GeoFormat::Csv;
};
ChosenOutput ChooseOutput(const ExportChoice& choice, const std::string& chosen);
