#pragma once
// The Survey menu's commands on the main window's table: open and save the plan, generate
// lines, the next and the previous line, fit the plan in the plotter (shown if hidden), the
// off-line alarm's threshold and "Record on Line". Dialogs run through the main window's modal runner, so
// playback pauses while one is open.

#include <functional>

class CVantrelDoc;
class CommandTable;
class GpsWindows;
class QDialog;
class QWidget;

using ModalRunner = std::function<int(QDialog&)>;

void AddSurveyCommands(CommandTable& table, CVantrelDoc& doc, GpsWindows& gps, QWidget* parent,
                       ModalRunner runModal);
