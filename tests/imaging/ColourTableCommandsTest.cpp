#include "models/ColourTableCommands.h"

#include <gtest/gtest.h>

#include "document/CVantrelDoc.h"
#include "shell/CommandTable.h"
#include "support/FakePlatform.h"

namespace {

struct CountingObserver : DocumentObserver {
    void PaletteChanged() override { ++paletteChanges; }
    int paletteChanges = 0;
};

}  // namespace

TEST(ColourTableCommands, ChoosingATableRecoloursAndMovesTheCheckMark) {
    FakePlatform platform;
    CVantrelDoc doc(platform);
    CountingObserver observer;
    doc.SetObserver(&observer);
    CommandTable table;
    AddColourTableCommands(table, doc);

    ASSERT_TRUE(table.Execute(32893));  // "Gr&een": (0, i, 0)
    EXPECT_EQ(doc.palette.colourTableIndex, 2);
    EXPECT_EQ(observer.paletteChanges, 1);
    const Palette& p = doc.palette.activePalette;
    EXPECT_EQ(p[4 * 100 + 0], 0);    // blue
    EXPECT_EQ(p[4 * 100 + 1], 100);  // green
    EXPECT_EQ(p[4 * 100 + 2], 0);    // red
    for (int id = 32891; id <= 32900; ++id) {
        EXPECT_TRUE(table.State(id).enabled) << id;
        EXPECT_EQ(table.State(id).checked, id == 32893) << id;
    }
    ASSERT_TRUE(table.Execute(32894));  // "&Grey"
    EXPECT_EQ(doc.palette.activePalette[4 * 100 + 2], 100);
    EXPECT_FALSE(table.State(32893).checked);
    EXPECT_FALSE(table.Has(32901));
    doc.SetObserver(nullptr);
}
