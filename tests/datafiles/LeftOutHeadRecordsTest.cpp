// Recording while a head is left out of polling: the records of that stretch hold the heads
// that answered, laid out as the records of an installation without the head, and a file with
// such a stretch plays back record by record with the head's window kept and empty.

#include "DataFilesFixture.h"
#include "datafiles/RecordIndex.h"
#include "imaging/ImageSet.h"

namespace {

constexpr int kRecords = 30;
constexpr int kStretchFrom = 10, kStretchTo = 20;  // records without the head

bool InStretch(int i) {
    return i >= kStretchFrom && i < kStretchTo;
}

class LeftOutHeadRecordsTest : public DataFilesFixture, public ::testing::WithParamInterface<int> {
protected:
    // Records kRecords cycles with random lines; the head is left out in the stretch.
    void Record(const std::string& path, int leftOut) {
        MakeFourHeadState(true);
        doc.orientationPresent = 1;
        ASSERT_TRUE(doc.StartRecordingTo(path));
        for (int i = 0; i < kRecords; ++i) {
            doc.polling.leftOut[leftOut] = InStretch(i);
            for (auto& head : doc.heads) {
                for (auto& s : head.line) s = static_cast<std::uint8_t>(rng());
            }
            platform.tick += 5;
            doc.noDataFlag = 0;
            doc.StoreCycle();
        }
        doc.polling.Restart();
        doc.StopRecording();
    }
    static void SizeImages(CVantrelDoc& d) {
        d.images.compositeMode = 1;
        std::int32_t changed = 1;
        d.SizeCompositeImage(kZoomFillScreen, 400, changed);
        for (int c = 0; c < 3; ++c) {
            changed = 1;
            d.SizeChannelImage(c, kZoomFillScreen, 400, changed);
        }
    }
    static std::vector<std::uint8_t> Pixels(const RingImage& image) {
        std::vector<std::uint8_t> pixels;
        for (int r = 0; r < image.Rows(); ++r) {
            pixels.insert(pixels.end(), image.Row(r), image.Row(r) + image.BytesPerLine());
        }
        return pixels;
    }
};

TEST_P(LeftOutHeadRecordsTest, TheStretchHoldsOnlyTheHeadsThatAnswered) {
    const int out = GetParam();
    const std::string path = dir.File("stretch.svx");
    Record(path, out);
    const std::vector<std::uint8_t> bytes = TempDir::ReadBytes(path);
    svx::MemoryBytes source(bytes.data(), bytes.size());
    const svx::RecordIndex index = svx::IndexRecords(source);
    EXPECT_FALSE(index.Damaged());
    ASSERT_EQ(index.Records().size(), static_cast<std::size_t>(kRecords));
    for (int i = 0; i < kRecords; ++i) {
        SCOPED_TRACE(i);
        const svx::IndexedRecord& r = index.Records()[static_cast<std::size_t>(i)];
        const std::uint8_t* header = bytes.data() + r.offset;
        const bool stretch = InStretch(i);
        EXPECT_EQ(r.length, stretch ? 11072u - 2384u : 11072u);
        EXPECT_EQ(header[svx::kHeadsInSystem], stretch ? 3 : 4);
        for (int h = 0; h < kHeadCount; ++h) {
            EXPECT_EQ(header[svx::kHeadPresent + h], stretch && h == out ? 0 : 1) << h;
        }
        // The orientation block travels with the echo sounder's line.
        EXPECT_EQ(header[svx::kOrientationPresent], stretch && out == kHeadES ? 0 : 1);
    }
}

TEST_P(LeftOutHeadRecordsTest, PlayedBackTheImagesEqualTheLiveOnes) {
    const int out = GetParam();
    SizeImages(doc);
    const std::string path = dir.File("live.svx");
    Record(path, out);

    FakePlatform otherPlatform;
    CVantrelDoc played(otherPlatform);
    SizeImages(played);
    ASSERT_TRUE(played.OpenPlaybackFile(path));
    for (int i = 0; i < kRecords; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(played.PlayNextRecord(), RecordRead::Record);
        EXPECT_EQ(played.HeadHasData(out), !InStretch(i));
        EXPECT_EQ(played.threeFrequencySystem, 1) << "the windows stay as they are";
        EXPECT_EQ(played.displayChannelA, kHeadL);
    }
    EXPECT_EQ(played.rejectedCycleCount, 0);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(Pixels(played.images.ChannelImage(c)), Pixels(doc.images.ChannelImage(c))) << c;
    }
    EXPECT_EQ(Pixels(played.images.CompositeImage()), Pixels(doc.images.CompositeImage()));
}

INSTANTIATE_TEST_SUITE_P(Heads, LeftOutHeadRecordsTest,
                         ::testing::Values(kHeadL, kHeadM, kHeadH, kHeadES),
                         [](const auto& info) { return std::string(HeadLabel(info.param)); });

// The history keeps an empty line for a head without data: a re-draw shows the gap too.
TEST_F(DataFilesFixture, AHeadLeftOutIsStoredAsAnEmptyLine) {
    MakeFourHeadState(false);
    doc.polling.leftOut[kHeadM] = true;
    const int slot = doc.history.writeIndex;
    doc.StoreCycle();
    const HistoryRecord& record = doc.history.Record(slot);
    EXPECT_EQ(record.lines[kHeadM], (std::array<std::uint8_t, kLineLength>{}));
    EXPECT_NE(record.lines[kHeadL], (std::array<std::uint8_t, kLineLength>{}));
    EXPECT_NE(record.esSamples, (std::array<std::uint8_t, kEchoSamples>{}));
}

}  // namespace
