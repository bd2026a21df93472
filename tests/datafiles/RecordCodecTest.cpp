// The record codec on its own: every combination of blocks encoded and decoded again, the
// fields that make a record damaged, and the scan for the next record start.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "common/ByteOrder.h"
#include "datafiles/RecordCodec.h"

namespace {

using namespace svx;

// A cycle with distinct values in every field, and the buffers it points into.
struct TestCycle {
    explicit TestCycle(unsigned heads, bool systemInfo, unsigned seed = 7) {
        std::mt19937 rng(seed);
        for (auto& buffer : buffers) {
            for (auto& b : buffer) b = static_cast<std::uint8_t>(rng());
        }
        for (auto& b : info) b = static_cast<std::uint8_t>(rng());
        cycle.pingNumber = 0x01020304 + heads;
        cycle.samplesPerHalf = 1000;
        cycle.date = "03-JUL-2025";
        cycle.time = "14:05:09";
        cycle.millis = "007";
        cycle.headsInSystem = static_cast<std::uint8_t>(__builtin_popcount(heads));
        for (int h = 0; h < 4; ++h) {
            HeadSource& head = cycle.heads[h];
            head.present = (heads >> h) & 1;
            head.frequencyHz = 120000u + 1000u * static_cast<unsigned>(h);
            head.range = static_cast<std::uint16_t>(50 + h);
            head.gainDb = static_cast<std::uint8_t>(10 + h);
            head.transmitOffMask = static_cast<std::uint8_t>(h);
            head.command = buffers[3 * h].data();
            head.replyHeader = buffers[3 * h + 1].data();
            head.line = buffers[3 * h + 2].data();
        }
        cycle.sentenceSet = 2;
        cycle.orientationPresent = true;
        cycle.eventNumber = 7;
        cycle.pingIntervalMs = 312;
        sentences[0] = "$GPGGA,123519,4807.038,N";
        sentences[9] = "$GPHDT,274.07,T*03";
        cycle.sentences = &sentences;
        cycle.systemInfo = systemInfo ? info.data() : nullptr;
    }
    std::vector<std::uint8_t> Encode() const {
        std::vector<std::uint8_t> out(kMaxRecordLength);
        out.resize(EncodeRecord(cycle, out.data()).length);
        return out;
    }

    CycleSource cycle;
    std::array<std::array<std::uint8_t, 2000>, 12> buffers;
    std::array<std::uint8_t, 256> info;
    std::array<std::string, 10> sentences;
};

TEST(RecordCodecTest, EveryBlockCombinationComesBackAsItWasEncoded) {
    for (unsigned heads = 0; heads < 16; ++heads) {
        for (const bool systemInfo : {false, true}) {
            SCOPED_TRACE(testing::Message() << "heads " << heads << " system info " << systemInfo);
            const TestCycle source(heads, systemInfo);
            const auto bytes = source.Encode();
            const int count = __builtin_popcount(heads);
            ASSERT_EQ(bytes.size(), 256u + 2384u * count + 1024u + (systemInfo ? 256u : 0u));
            ASSERT_EQ(bytes.size(), RecordLength(count, systemInfo, {}));

            const DecodedRecord decoded = DecodeRecord(bytes.data(), bytes.size());
            ASSERT_TRUE(decoded.Ok()) << DamageText(decoded.damage);
            const RecordLayout& layout = decoded.layout;
            EXPECT_EQ(layout.length, bytes.size());
            std::uint32_t offset = 256;
            for (int h = 0; h < 4; ++h) {
                const bool present = (heads >> h) & 1;
                EXPECT_EQ(layout.HasHead(h), present) << h;
                if (!present) continue;
                EXPECT_EQ(layout.headOffset[h], offset) << h;
                offset += 2384;
            }
            EXPECT_EQ(layout.gpsOffset, offset);
            EXPECT_EQ(layout.systemInfoOffset, systemInfo ? offset + 1024 : 0u);

            const RecordView view(bytes.data(), layout, {});
            EXPECT_EQ(view.PingNumber(), source.cycle.pingNumber);
            EXPECT_EQ(view.SamplesPerHalf(), 1000);
            EXPECT_EQ(view.DateText(), "03-JUL-2025");
            EXPECT_EQ(view.TimeText(), "14:05:09");
            EXPECT_EQ(view.MillisText(), "007");
            EXPECT_EQ(view.HeadsInSystem(), count);
            EXPECT_EQ(view.SentenceSet(), 2);
            EXPECT_TRUE(view.OrientationPresent());
            EXPECT_EQ(view.SystemInfoPresent(), systemInfo);
            EXPECT_EQ(view.EventMark(), 0x8007);
            EXPECT_EQ(view.PingIntervalMs(), 312);
            for (int h = 0; h < 4; ++h) {
                if (!layout.HasHead(h)) continue;
                const HeadSource& head = source.cycle.heads[h];
                EXPECT_EQ(view.Frequency(h), head.frequencyHz);
                EXPECT_EQ(view.Range(h), head.range);
                EXPECT_EQ(view.Gain(h), head.gainDb);
                EXPECT_EQ(view.TransmitOff(h), head.transmitOffMask);
                EXPECT_EQ(std::memcmp(view.Command(h), head.command, 128), 0);
                EXPECT_EQ(std::memcmp(view.ReplyHeader(h), head.replyHeader, 128), 0);
                EXPECT_EQ(std::memcmp(view.Line(h), head.line, 2000), 0);
                EXPECT_EQ(view.LineLength(h), 2000u);
            }
            std::array<std::string, 10> sentences;
            view.Sentences(sentences);
            EXPECT_EQ(sentences, source.sentences);
            if (systemInfo) {
                EXPECT_EQ(std::memcmp(view.SystemInfo(), source.info.data(), 256), 0);
            }
        }
    }
}

TEST(RecordCodecTest, OtherHeadBlockGeometriesMoveTheBlocks) {
    const TestCycle source(0b1010, false);
    const RecordGeometry geometry{100, 20};
    std::vector<std::uint8_t> bytes(kMaxRecordLength);
    bytes.resize(EncodeRecord(source.cycle, bytes.data(), geometry).length);
    ASSERT_EQ(bytes.size(), 256u + 2u * (2128 + 120) + 1024u);
    EXPECT_FALSE(DecodeRecord(bytes.data(), bytes.size()).Ok());
    const DecodedRecord decoded = DecodeRecord(bytes.data(), bytes.size(), geometry);
    ASSERT_TRUE(decoded.Ok());
    EXPECT_EQ(decoded.layout.headOffset[3], 256u + 2248u);
    const RecordView view(bytes.data(), decoded.layout, geometry);
    EXPECT_EQ(std::memcmp(view.Line(3), source.cycle.heads[3].line, 2000), 0);
}

TEST(RecordCodecTest, FieldsThatBreakTheLayoutMakeTheRecordDamaged) {
    const TestCycle source(0b0111, true);  // three heads in the system, with system information
    const auto good = source.Encode();
    struct Case {
        const char* what;
        void (*mutate)(std::vector<std::uint8_t>&);
        RecordDamage damage;
    };
    const Case cases[] = {
        {"magic", [](auto& b) { b[1] = 'V'; }, RecordDamage::NoMagic},
        {"head count 255", [](auto& b) { b[46] = 255; }, RecordDamage::HeadCount},
        {"head count 5", [](auto& b) { b[46] = 5; }, RecordDamage::HeadCount},
        {"head count 2 with three flags", [](auto& b) { b[46] = 2; },
         RecordDamage::HeadsUnlikeCount},
        {"a flag cleared", [](auto& b) { b[48] = 0; }, RecordDamage::HeadsUnlikeCount},
        {"length one more", [](auto& b) { PutLe32(b.data() + 8, GetLe32(b.data() + 8) + 1); },
         RecordDamage::Length},
        {"length zero", [](auto& b) { PutLe32(b.data() + 8, 0); }, RecordDamage::Length},
        {"system information flag cleared", [](auto& b) { b[54] = 0; }, RecordDamage::Length},
        {"GPS offset", [](auto& b) { PutLe16(b.data() + 52, 256); }, RecordDamage::GpsOffset},
        {"GPS offset zero", [](auto& b) { PutLe16(b.data() + 52, 0); }, RecordDamage::GpsOffset},
        {"system-information offset", [](auto& b) { PutLe16(b.data() + 55, 0); },
         RecordDamage::SystemInfoOffset},
        {"no Sonar", [](auto& b) { b[256 + 2384 + 0] = 's'; }, RecordDamage::HeadBlock},
        {"another head's block", [](auto& b) { b[256 + 2384 * 2 + 5] = 3; },
         RecordDamage::HeadBlock},
        {"cut off", [](auto& b) { b.resize(b.size() - 1); }, RecordDamage::CutOff},
        {"header cut off", [](auto& b) { b.resize(100); }, RecordDamage::CutOff},
        {"two bytes", [](auto& b) { b.resize(2); }, RecordDamage::NoMagic},
    };
    for (const Case& c : cases) {
        auto bytes = good;
        c.mutate(bytes);
        EXPECT_EQ(DecodeRecord(bytes.data(), bytes.size()).damage, c.damage) << c.what;
    }
    // Four heads in the system make every head present whatever the flags say.
    const TestCycle four(0b1111, false);
    auto bytes = four.Encode();
    std::memset(bytes.data() + 47, 0, 4);
    EXPECT_TRUE(DecodeRecord(bytes.data(), bytes.size()).Ok());
}

TEST(RecordCodecTest, ScanFindsTheNextHeaderThatCanStartARecord) {
    const TestCycle source(0b0001, false);  // 3664 bytes
    const auto record = source.Encode();
    // Garbage with stray magics, then a record starting two bytes before a 64 KB boundary so
    // that its magic runs across the scan's chunks.
    std::vector<std::uint8_t> bytes(65534 + record.size(), 0x11);
    std::memcpy(bytes.data() + 1000, "svx", 3);  // a magic without a header behind it
    std::memcpy(bytes.data() + 2000, record.data(), 256);
    bytes[2000 + 46] = 9;  // a whole header, but one that cannot start a record
    std::memcpy(bytes.data() + 65534, record.data(), record.size());
    MemoryBytes source_bytes(bytes.data(), bytes.size());
    EXPECT_EQ(FindRecordStart(source_bytes, 0), std::optional<std::uint64_t>(65534));
    EXPECT_EQ(FindRecordStart(source_bytes, 65534), std::optional<std::uint64_t>(65534));
    EXPECT_EQ(FindRecordStart(source_bytes, 65535), std::nullopt);
    // "ssvx": the start right after an 's' is not stepped over.
    bytes[65533] = 's';
    MemoryBytes again(bytes.data(), bytes.size());
    EXPECT_EQ(FindRecordStart(again, 65533), std::optional<std::uint64_t>(65534));
}

}  // namespace
