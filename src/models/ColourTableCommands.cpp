#include "models/ColourTableCommands.h"

#include "document/CVantrelDoc.h"
#include "shell/CommandTable.h"

void AddColourTableCommands(CommandTable& table, CVantrelDoc& doc) {
    for (int id = kCommandColourTableFirst; id <= kCommandColourTableLast; ++id) {
        table.Add(
            id, [&doc, id] { doc.SelectColourTable(id); },
            [&doc, id] {
                // While the custom palette colours the images no table is in use, and the
                // custom palette's own entry carries the one check mark of the submenu.
                const bool inUse = doc.IsColourTableChecked(id) && !doc.palette.useCustomPalette;
                return CommandState{true, inUse, {}};
            });
    }
}
