#pragma once
// What File > Export asks the operator for each product: the titles and filters of its file
// dialogs, the output proposed beside the data file, and how the chosen name decides the
// format of a track or events export.

#include <span>
#include <string>

#include "export/ExportJob.h"
#include "export/GeoTexts.h"

inline constexpr const char* kExportInputTitle = "Export from Data File";
inline constexpr const char* kExportInputFilter = "Sonar Files (*.svx)";

// File > Export > Contact Report...: several recordings at once, made by its own program
// (app/ui/ContactReportExporter), so it is not one of the choices below.
inline constexpr int kCmdExportContactReport = 41206;
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

// The chosen output with the export's first extension added when it has none of its
// extensions (compared without case), and the format of a track or events export from it.
struct ChosenOutput {
    std::string path;
    svx::GeoFormat format = svx::GeoFormat::Csv;
};
ChosenOutput ChooseOutput(const ExportChoice& choice, const std::string& chosen);
