#pragma once
// The "&Color Table" submenu's commands for the main window's table: one command per built-in
// table (32891..32900), checked on the table in use (on none while the custom palette is).
// Choosing one rebuilds the active palette and the document tells its observer, so every
// image takes the new colours at its next paint.

class CommandTable;
class CVantrelDoc;

void AddColourTableCommands(CommandTable& table, CVantrelDoc& doc);
