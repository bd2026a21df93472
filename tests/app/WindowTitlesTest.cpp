#include <gtest/gtest.h>

#include "acquisition/HeadTable.h"
#include "app/WindowTitles.h"

namespace {

TEST(WindowTitlesTest, TitlesWhenOpenedByTheirCommands) {
    struct Case {
        int window, head;  // the head whose image the window shows
        const char* title;
    };
    const Case cases[] = {
        {kMainFrame, 0, "Sonvara_RGB"},
        {kLFrame, kHeadL, "Sonvara_RGB - 120 kHz"},
        {kMFrame, kHeadM, "Sonvara_RGB - 260 kHz"},
        {kHFrame, kHeadH, "Sonvara_RGB - Sonar 540 kHz"},
        // Two-frequency systems show their two heads in the first two frames.
        {kMFrame, kHeadH, "Sonvara_RGB - 540 kHz"},
        {kLFrame, kHeadM, "Sonvara_RGB - 260 kHz"},
        {kESFrame, kHeadES, "Sonvara_RGB - Echo Sounder"},
        {kGpsTrackWindow, 0, "Sonvara_RGB - Track Plotter"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandWindowTitle(c.window, c.head), c.title) << c.window;
    }
}

TEST(WindowTitlesTest, TitlesAfterTheLayout) {
    struct Case {
        int window, frequencyHz;
        const char* title;
    };
    const Case cases[] = {
        {kMainFrame, 0, "Sonvara_RGB"},
        {kLFrame, 120000, "Sonvara_RGB -- 120 kHz"},
        // The head's frequency, whole kHz, not the window's usual one.
        {kMFrame, 675999, "Sonvara_RGB -- 675 kHz"},
        {kHFrame, 540000, "Sonvara_RGB -- 540 kHz"},
        {kESFrame, 0, "Sonvara_RGB -- Echo Sounder"},
        {kGpsTrackWindow, 0, "Sonvara_RGB -- Track Plotter"},
    };
    for (const Case& c : cases) EXPECT_EQ(LayoutWindowTitle(c.window, c.frequencyHz), c.title);
}

TEST(WindowTitlesTest, MainFrameTitleInRealTimePlaybackAndRecording) {
    const std::string played = "Halvex Sonvara_RGB -- Playback (/data/run.svx)";
    const std::string recorded = "Halvex Sonvara_RGB -- Real Time - Data Recording to (a.svx)";
    EXPECT_EQ(MainFrameTitle(false, false, "stale"), "Halvex Sonvara_RGB -- Real Time");
    EXPECT_EQ(MainFrameTitle(true, false, played), played);
    EXPECT_EQ(MainFrameTitle(false, true, recorded), recorded);
    EXPECT_EQ(MainFrameTitle(true, false, ""), "Halvex Sonvara_RGB -- Real Time");
}

}  // namespace
