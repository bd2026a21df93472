#include "imaging/CompositeOverlay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const CompositeOverlayInput& in) {
    std::vector<std::string> texts;
    for (const OverlayText& t : CompositeOverlayTexts(in)) texts.push_back(t.text);
    return texts;
}

CompositeOverlayInput Live() {
    CompositeOverlayInput in;
    in.clientWidth = 800;
    in.clientHeight = 600;
    in.compositeMode = true;
    in.range = 50;
    return in;
}

}  // namespace

TEST(CompositeOverlayTest, TextsFollowTheState) {
    using V = std::vector<std::string>;
    struct Case {
        const char* what;
        void (*change)(CompositeOverlayInput&);
        V texts;
    };
    const Case cases[] = {
        {"live", [](CompositeOverlayInput&) {}, V{"50 m ", "\\", "sc"}},
        {"feet", [](CompositeOverlayInput& in) { in.units = 1; }, V{"150 ft ", "\\", "sc"}},
        {"no range", [](CompositeOverlayInput& in) { in.showRange = false; }, V{"\\", "sc"}},
        {"not composite", [](CompositeOverlayInput& in) { in.compositeMode = false; },
         V{"\\", "sc"}},
        {"held", [](CompositeOverlayInput& in) { in.held = true; }, V{"50 m ", "Held"}},
        {"no speed correction", [](CompositeOverlayInput& in) { in.speedCorrection = false; },
         V{"50 m ", "\\"}},
        {"discovery", [](CompositeOverlayInput& in) { in.discoveryMode = true; },
         V{"50 m ", "Reading System Info... Please wait !", "\\", "sc"}},
        {"discovery in playback",
         [](CompositeOverlayInput& in) {
             in.discoveryMode = true;
             in.playbackMode = true;
         },
         V{"50 m ", "\\", "sc"}},
    };
    for (const Case& c : cases) {
        CompositeOverlayInput in = Live();
        c.change(in);
        EXPECT_EQ(Texts(in), c.texts) << c.what;
    }
}

TEST(CompositeOverlayTest, PlacesTheTextsByTheWindowSize) {
    CompositeOverlayInput in = Live();
    in.discoveryMode = true;
    const std::vector<OverlayText> texts = CompositeOverlayTexts(in);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].left, 4);
    EXPECT_EQ(texts[0].top, 600 - 42);
    EXPECT_EQ(texts[1].left, 400 - 150);
    EXPECT_EQ(texts[1].top, 600 - 50);
    EXPECT_EQ(texts[2].left, 800 - 20);
    EXPECT_EQ(texts[2].top, 1);
    EXPECT_EQ(texts[3].left, 800 - 40);
    EXPECT_EQ(texts[3].fontHeight, 22);
    in.held = true;
    EXPECT_EQ(CompositeOverlayTexts(in).back().left, 800 - 55);
}

TEST(CompositeOverlayTest, SpinnerStepsByCycleCount) {
    const char expected[] = {'\\', '-', '/', '|', '\\', '-'};
    for (int count = 0; count < 6; ++count) EXPECT_EQ(ActivityCharacter(count), expected[count]);
    EXPECT_EQ(ActivityCharacter(-1), '|') << "a wrapped count stays in the four";
}

TEST(CompositeOverlayTest, MarkersKeepTheCounterOfHoldOnlyInRealTime) {
    EXPECT_EQ(MarkerRowShift(false, false, 120, 40), 120);
    EXPECT_EQ(MarkerRowShift(true, false, 120, 40), 40);
    EXPECT_EQ(MarkerRowShift(true, true, 120, 40), 120);
}

TEST(CompositeOverlayTest, DrawTimeIsARunningAverage) {
    EXPECT_EQ(NextDrawTimeAverage(0, 9), 4);
    EXPECT_EQ(NextDrawTimeAverage(4, 9), 6);
    EXPECT_EQ(NextDrawTimeAverage(6, -3), 3);
}
