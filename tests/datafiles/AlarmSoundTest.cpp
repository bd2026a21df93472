// The settings-change alarm's sound ships with the project and is found from the program.

#include <gtest/gtest.h>

#include "common/ByteOrder.h"
#include "datafiles/DataFile.h"
#include "datafiles/PlaybackState.h"
#include "support/TempDir.h"

namespace {

TEST(AlarmSound, ShippedToneIsAShortAudiblePcmWave) {
    const std::string path = FindAlarmSound();
    ASSERT_TRUE(FileExists(path)) << path;
    EXPECT_EQ(FileNameOf(path), "ding.wav");
    const auto bytes = TempDir::ReadBytes(path);
    ASSERT_GE(bytes.size(), 44u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(GetLe16(bytes.data() + 20), 1);   // PCM
    EXPECT_EQ(GetLe16(bytes.data() + 22), 1);   // mono
    EXPECT_EQ(GetLe16(bytes.data() + 34), 16);  // bits per sample
    const std::uint32_t rate = GetLe32(bytes.data() + 24);
    const std::uint32_t dataBytes = GetLe32(bytes.data() + 40);
    ASSERT_EQ(bytes.size(), 44u + dataBytes);
    const double seconds = dataBytes / 2.0 / rate;
    EXPECT_GT(seconds, 0.1);
    EXPECT_LT(seconds, 1.0);
    int peak = 0;
    for (std::size_t i = 44; i + 1 < bytes.size(); i += 2) {
        peak = std::max(peak, std::abs(static_cast<std::int16_t>(GetLe16(bytes.data() + i))));
    }
    EXPECT_GT(peak, 8000);  // audible, not silence
}

}  // namespace
