#include <gtest/gtest.h>

#include <vector>

#include "imaging/RingImage.h"
#include "imaging/RowInfo.h"

namespace {

// Rows numbered 1..rows in their first byte.
RingImage Numbered(int rows) {
    RingImage image;
    image.Allocate(8, rows, 1);
    for (int r = 0; r < rows; ++r) image.Row(r)[0] = static_cast<std::uint8_t>(r + 1);
    return image;
}

std::vector<int> FirstBytes(const RingImage& image) {
    std::vector<int> bytes;
    for (int r = 0; r < image.Rows(); ++r) bytes.push_back(image.Row(r)[0]);
    return bytes;
}

TEST(RingImageTest, ScrollWithRestoredTopRowsIsABlockMove) {
    const int rows = 7;
    for (int a = 1; a < rows; ++a) {
        RingImage image = Numbered(rows);
        std::vector<int> expected = FirstBytes(image);
        for (int r = rows - 1 - a; r >= 0; --r) expected[r + a] = expected[r];
        image.ScrollDown(a);
        image.RestoreTopRows(a);
        EXPECT_EQ(FirstBytes(image), expected) << a;
    }
}

TEST(RingImageTest, ScrollAloneBringsTheBottomRowsToTheTop) {
    RingImage image = Numbered(5);
    image.ScrollDown(2);
    EXPECT_EQ(FirstBytes(image), (std::vector<int>{4, 5, 1, 2, 3}));
    image.ScrollDown(4);
    EXPECT_EQ(FirstBytes(image), (std::vector<int>{5, 1, 2, 3, 4}));
}

TEST(RingImageTest, PiecesPaintTheRowsInOrder) {
    for (int scroll = 0; scroll < 9; ++scroll) {
        RingImage image = Numbered(6);
        image.ScrollDown(scroll);
        const RingPieces pieces = image.Pieces();
        ASSERT_EQ(pieces.firstRows + pieces.secondRows, 6);
        EXPECT_EQ(pieces.bytesPerLine, 8);
        std::vector<int> painted;
        for (int r = 0; r < pieces.firstRows; ++r) painted.push_back(pieces.first[r * 8]);
        for (int r = 0; r < pieces.secondRows; ++r) painted.push_back(pieces.second[r * 8]);
        EXPECT_EQ(painted, FirstBytes(image)) << scroll;
        EXPECT_EQ(pieces.secondRows == 0, scroll % 6 == 0);
    }
}

TEST(RingImageTest, EmptyImageHasNoPieces) {
    RingImage image;
    EXPECT_FALSE(image.Exists());
    EXPECT_EQ(image.Pieces().first, nullptr);
    image.Allocate(0, 10, 1);
    EXPECT_FALSE(image.Exists());
}

TEST(RowInfoRingTest, ScrollKeepsTheTopRowsLikeABlockMove) {
    const int rows = 6;
    for (int a = 1; a < rows; ++a) {
        RowInfoRing ring;
        ring.Follow(rows);
        std::vector<int> expected;
        for (int r = 0; r < rows; ++r) {
            ring.Row(r).pingNumber = r + 1;
            expected.push_back(r + 1);
        }
        for (int r = rows - 1 - a; r >= 0; --r) expected[r + a] = expected[r];
        ring.ScrollDownKeepingTop(a);
        std::vector<int> actual;
        for (int r = 0; r < rows; ++r) actual.push_back(ring.Row(r).pingNumber);
        EXPECT_EQ(actual, expected) << a;
    }
}

}  // namespace
