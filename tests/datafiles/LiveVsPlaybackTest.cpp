// The images formed while recording and the images formed by playing the recording back are
// the same: everything image formation reads of a cycle travels in the record.

#include "DataFilesFixture.h"

namespace {

class LiveVsPlaybackTest : public DataFilesFixture {
protected:
    static void SizeImages(CVantrelDoc& d) {
        d.images.compositeMode = 1;
        std::int32_t changed = 1;
        d.SizeCompositeImage(kZoomFillScreen, 500, changed);
        for (int c = 0; c < 3; ++c) {
            changed = 1;
            d.SizeChannelImage(c, kZoomFillScreen, 500, changed);
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

TEST_F(LiveVsPlaybackTest, PlayedImagesEqualTheLiveImages) {
    MakeFourHeadState(true);
    SizeImages(doc);
    ASSERT_TRUE(doc.StartRecordingTo(dir.File("live.svx")));
    for (int i = 0; i < 300; ++i) {
        for (auto& head : doc.heads) {
            for (auto& s : head.line) s = static_cast<std::uint8_t>(rng());
        }
        platform.tick += 3 + (i % 7);
        doc.noDataFlag = 0;
        doc.StoreCycle();
    }
    doc.StopRecording();

    FakePlatform otherPlatform;
    CVantrelDoc played(otherPlatform);
    SizeImages(played);
    ASSERT_TRUE(played.OpenPlaybackFile(dir.File("live.svx")));
    int records = 0;
    while (played.files.playbackPosition < played.files.playbackFileLength) {
        ASSERT_EQ(played.PlayNextRecord(), RecordRead::Record);
        ++records;
    }
    EXPECT_EQ(records, 300);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(Pixels(played.images.ChannelImage(c)), Pixels(doc.images.ChannelImage(c))) << c;
    }
    EXPECT_EQ(Pixels(played.images.CompositeImage()), Pixels(doc.images.CompositeImage()));
}

}  // namespace
