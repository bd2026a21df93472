#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <set>

#include "SimScene.h"
#include "acquisition/HeadTable.h"
#include "common/ByteOrder.h"

namespace {

using Samples = std::array<std::uint8_t, sim::kSamples>;

Samples SideScan(const sim::Scene& scene, int head, int side, std::uint32_t ping, int range,
                 int gain = 6, std::uint8_t mask = 0) {
    Samples out{};
    scene.SideScan(head, side, ping, {range, gain, mask}, out.data());
    return out;
}

// The sample index of a slant range at this range setting.
int IndexOf(double slantM, int range) {
    return static_cast<int>(slantM * sim::kSamples / range);
}

double Mean(const Samples& s, int from, int to) {
    double sum = 0;
    for (int i = from; i < to; ++i) sum += s[i];
    return sum / std::max(1, to - from);
}

// Mean over the seabed between two slant ranges given as multiples of the altitude, over
// many pings.
double SeabedMean(const sim::Scene& scene, int head, int range, int gain, double fromA,
                  double toA) {
    double sum = 0;
    for (std::uint32_t ping = 1; ping <= 40; ++ping) {
        const double a = scene.AltitudeM(ping);
        const Samples s = SideScan(scene, head, ping % 2, ping, range, gain);
        sum += Mean(s, IndexOf(fromA * a, range), IndexOf(toA * a, range));
    }
    return sum / 40;
}

TEST(SimSceneTest, WaterColumnIsQuietAndTheFirstBottomReturnIsAtTheAltitude) {
    const sim::Scene scene;
    for (int head = 0; head < 3; ++head) {
        for (int range : {20, 50, 100}) {
            for (int gain : {0, 6, 40}) {
                for (std::uint32_t ping : {1u, 57u, 333u}) {
                    SCOPED_TRACE(testing::Message() << "head " << head << " range " << range
                                                    << " gain " << gain << " ping " << ping);
                    const double a = scene.AltitudeM(ping);
                    const Samples s = SideScan(scene, head, 1, ping, range, gain);
                    const int bottom = IndexOf(a, range);
                    EXPECT_LE(*std::max_element(s.begin(), s.begin() + bottom), sim::kNoiseCeiling);
                    // The first strong sample is the bottom return at the altitude.
                    const auto first = std::find_if(
                        s.begin(), s.end(), [](int v) { return v > 4 * sim::kNoiseCeiling; });
                    EXPECT_LE(first - s.begin(), bottom + 1);
                    EXPECT_GE(*first, gain == 0 ? 90 : 130);
                }
            }
        }
    }
}

TEST(SimSceneTest, SeabedFallsOffWithRangeAndRisesWithGain) {
    const sim::Scene scene;
    for (int head = 0; head < 3; ++head) {
        SCOPED_TRACE(head);
        const double nearMean = SeabedMean(scene, head, 100, 6, 1.5, 2.5);
        const double farMean = SeabedMean(scene, head, 100, 6, 6.0, 8.0);
        EXPECT_GT(nearMean, farMean * 1.3);
        EXPECT_GT(farMean, sim::kNoiseCeiling) << "the seabed is still seen at 60..80 m";
        const double low = SeabedMean(scene, head, 50, 0, 1.5, 3.0);
        const double mid = SeabedMean(scene, head, 50, 14, 1.5, 3.0);
        const double high = SeabedMean(scene, head, 50, 30, 1.5, 3.0);
        EXPECT_LT(low, mid);
        EXPECT_LT(mid, high);
    }
}

TEST(SimSceneTest, EachFrequencyStopsAtItsOwnRangeLimit) {
    const sim::Scene scene;
    struct Case {
        int head;
        int range;
    };
    for (const Case c : {Case{1, 400}, Case{2, 200}, Case{2, 500}}) {
        SCOPED_TRACE(c.head);
        const double limit = sim::ModelOf(c.head).maxRangeM;
        ASSERT_LT(limit, c.range);
        for (std::uint32_t ping = 1; ping < 20; ++ping) {
            const Samples s = SideScan(scene, c.head, 0, ping, c.range, 40);
            EXPECT_LE(*std::max_element(s.begin() + IndexOf(limit, c.range) + 1, s.end()),
                      sim::kNoiseCeiling);
        }
    }
    // The lowest frequency reaches far: at 500 m the seabed at 300 m is above the noise.
    EXPECT_GT(SeabedMean(scene, kHeadL, 500, 20, 28.0, 32.0), sim::kNoiseCeiling);
    EXPECT_GT(sim::ModelOf(kHeadL).maxRangeM, sim::ModelOf(kHeadM).maxRangeM);
    EXPECT_GT(sim::ModelOf(kHeadM).maxRangeM, sim::ModelOf(kHeadH).maxRangeM);
}

TEST(SimSceneTest, ASilentSideSendsOnlyNoise) {
    const sim::Scene scene;
    struct Case {
        std::uint8_t mask;
        bool portQuiet, starboardQuiet;
    };
    for (const Case c :
         {Case{0, false, false}, Case{2, true, false}, Case{1, false, true}, Case{3, true, true}}) {
        SCOPED_TRACE(static_cast<int>(c.mask));
        const Samples port = SideScan(scene, kHeadM, 0, 5, 50, 20, c.mask);
        const Samples starboard = SideScan(scene, kHeadM, 1, 5, 50, 20, c.mask);
        EXPECT_EQ(*std::max_element(port.begin(), port.end()) <= sim::kNoiseCeiling, c.portQuiet);
        EXPECT_EQ(*std::max_element(starboard.begin(), starboard.end()) <= sim::kNoiseCeiling,
                  c.starboardQuiet);
    }
}

TEST(SimSceneTest, TargetsPassAlongTrackAndCastShadows) {
    const sim::Scene scene;
    std::set<long> seen;  // targets by along-track position
    int checked = 0;
    for (std::uint32_t ping = 1; ping < 2000; ++ping) {
        const auto targets = scene.TargetsAt(scene.AlongTrackM(ping));
        for (const sim::Target& t : targets) {
            seen.insert(std::lround(t.alongM * 100));
            const double a = scene.AltitudeM(ping);
            if (t.heightM >= a * 0.8 || t.acrossM + t.widthM > 70) continue;
            // Slant ranges of the object's face and of the middle of its shadow.
            const double back = t.acrossM + t.widthM;
            const double shadowMid = back + 0.5 * t.heightM * back / (a - t.heightM);
            const int face = IndexOf(std::hypot(t.acrossM + t.widthM / 2, a), 100);
            const int shadow = IndexOf(std::hypot(shadowMid, a), 100);
            if (shadow <= face + 1) continue;
            const Samples here = SideScan(scene, kHeadM, t.side, ping, 100, 20);
            const Samples other = SideScan(scene, kHeadM, 1 - t.side, ping, 100, 20);
            SCOPED_TRACE(testing::Message() << "ping " << ping << " target at " << t.alongM);
            EXPECT_GE(here[face], 100);
            EXPECT_LE(here[shadow], sim::kNoiseCeiling);
            EXPECT_GT(here[face], here[shadow]);
            // The shadow belongs to the object's side only.
            const bool otherSideHasTarget =
                std::any_of(targets.begin(), targets.end(),
                            [&](const sim::Target& o) { return o.side != t.side; });
            if (!otherSideHasTarget) {
                EXPECT_GT(other[shadow], sim::kNoiseCeiling);
            }
            ++checked;
        }
    }
    EXPECT_GE(seen.size(), 8u) << "several objects go by in 2000 pings";
    EXPECT_GE(checked, 10);
}

TEST(SimSceneTest, EachTargetIsSeenOverAContiguousRunOfPings) {
    const sim::Scene scene;
    std::map<long, std::vector<std::uint32_t>> pingsOf;
    for (std::uint32_t ping = 1; ping < 1500; ++ping) {
        for (const sim::Target& t : scene.TargetsAt(scene.AlongTrackM(ping))) {
            pingsOf[std::lround(t.alongM * 100)].push_back(ping);
        }
    }
    ASSERT_FALSE(pingsOf.empty());
    for (const auto& [along, pings] : pingsOf) {
        SCOPED_TRACE(along);
        EXPECT_EQ(pings.back() - pings.front() + 1, pings.size()) << "no gaps";
        // Objects are 3 to 7 m long.
        const auto shortest = static_cast<std::size_t>(3.0 / sim::kPingSpacingM);
        const auto longest = static_cast<std::size_t>(7.0 / sim::kPingSpacingM) + 2;
        EXPECT_GE(pings.size(), shortest) << "an object spans several pings";
        EXPECT_LE(pings.size(), longest);
    }
}

TEST(SimSceneTest, EchoSounderBottomIsFoundAtTheAltitude) {
    // The application's bottom detection: the first sample above the mean of the samples
    // above 20 marks the bottom.
    const sim::Scene scene;
    for (int range : {20, 50, 100, 500}) {
        for (int gain : {0, 6, 40}) {
            for (std::uint32_t ping : {3u, 200u, 480u}) {
                SCOPED_TRACE(testing::Message() << "range " << range << " gain " << gain);
                Samples s{};
                scene.EchoSounder(ping, {range, gain, 0}, s.data());
                int sum = 0, count = 0;
                for (std::uint8_t v : s) {
                    if (v > 20) sum += v, ++count;
                }
                ASSERT_GT(count, 0);
                const int t = sum / count;
                const auto first = std::find_if(s.begin(), s.end(), [t](int v) { return v > t; });
                const double found = range * double(first - s.begin()) / sim::kSamples;
                EXPECT_NEAR(found, scene.AltitudeM(ping), std::max(0.1, 3.0 * range / 1000));
            }
        }
    }
}

TEST(SimSceneTest, EchoSounderWithoutABottomInRangeIsQuiet) {
    const sim::Scene scene;
    Samples s{};
    scene.EchoSounder(10, {5, 40, 0}, s.data());  // the altitude is about 10 m
    EXPECT_LE(*std::max_element(s.begin(), s.end()), 20);
    scene.EchoSounder(10, {50, 40, 1}, s.data());  // transmitter off
    EXPECT_LE(*std::max_element(s.begin(), s.end()), 20);
}

// The reading rules of the orientation block: words low byte first; signed words above 32767
// have 65535 subtracted.
double Signed(const std::uint8_t* p) {
    const int v = GetLe16(p);
    return v > 32767 ? v - 65535 : v;
}

TEST(SimSceneTest, OrientationWordsDecodeToTheSensorValues) {
    const sim::Scene scene;
    sim::Orientation previous = scene.OrientationAt(0);
    for (std::uint32_t ping = 1; ping < 3000; ping += 7) {
        SCOPED_TRACE(ping);
        Samples block{};
        scene.OrientationBlock(ping, block.data());
        const sim::Orientation o = scene.OrientationAt(ping);
        const double step = 360.0 / 65536;
        EXPECT_NEAR(Signed(&block[0]) * 360 / 65536, o.pitchDeg, step);
        EXPECT_NEAR(Signed(&block[2]) * 360 / 65536, o.rollDeg, step);
        double heading = Signed(&block[4]) * 360 / 65536;
        if (heading < 0) heading += 360;
        EXPECT_NEAR(heading, o.headingDeg, step);
        EXPECT_NEAR(Signed(&block[8]) * 100 / 65536, o.temperatureC, 100.0 / 65536);
        EXPECT_NEAR(GetLe16(&block[10]) * 1000.0 / 65536, o.depthM, 1000.0 / 65536);
        EXPECT_EQ(block[6], 0);
        EXPECT_EQ(block[7], 0);
        EXPECT_TRUE(std::all_of(block.begin() + 12, block.end(), [](int b) { return b == 0; }));
        // Plausible and slowly varying over 7 pings.
        EXPECT_LE(std::abs(o.pitchDeg), 10.0);
        EXPECT_LE(std::abs(o.rollDeg), 10.0);
        EXPECT_LT(std::abs(o.pitchDeg - previous.pitchDeg), 1.0);
        EXPECT_LT(std::abs(o.depthM - previous.depthM), 0.2);
        EXPECT_GT(o.temperatureC, -5.0);
        EXPECT_LT(o.temperatureC, 35.0);
        previous = o;
    }
}

TEST(SimSceneTest, WordEncodingFollowsTheReadingRule) {
    struct Case {
        double value, scale;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {0.0, 360, 0},       {90.0, 360, 16384},
        {-90.0, 360, 49151}, {-0.0054931640625, 360, 65534},  // one step below zero
        {180.0, 360, 32767}, {-180.0, 360, 32768},  // clamped to the ends of the signed range
        {25.0, 100, 16384},  {-5.0, 100, 62258},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const std::uint16_t word = sim::EncodeSignedWord(c.value, c.scale);
        EXPECT_EQ(word, c.expected);
        std::uint8_t bytes[2];
        PutLe16(bytes, word);
        EXPECT_NEAR(Signed(bytes) * c.scale / 65536, c.value, 1.01 * c.scale / 65536);
    }
    EXPECT_EQ(sim::EncodeUnsignedWord(0.0, 1000), 0);
    EXPECT_EQ(sim::EncodeUnsignedWord(18.0, 1000), 1180);
    EXPECT_EQ(sim::EncodeUnsignedWord(999.99, 1000), 65535);
    EXPECT_EQ(sim::EncodeUnsignedWord(-3.0, 1000), 0);
}

}  // namespace
