#include "imaging/ColourTableCommands.h"

#include "acquisition/CVantrelDoc.h"
#include "app/CommandTable.h"

void AddColourTableCommands(CommandTable& table, CVantrelDoc& doc) {
    for (int id = kCommandColourTableFirst; id <= kCommandColourTableLast; ++id) {
        table.Add(
            id, [&doc, id] { doc.SelectColourTable(id); },
            [&doc, id] {
                return CommandState{true, doc.IsColourTableChecked(id), {}};
            });
    }
}
