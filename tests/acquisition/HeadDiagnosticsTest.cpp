// The texts of the diagnostics dialog for three-frequency and other systems, in both units,
// and the transmit dialog's switches over the heads' transmit-off masks.

#include <gtest/gtest.h>

#include "acquisition/SwitchCommand.h"
#include "document/CVantrelDoc.h"
#include "models/HeadDiagnostics.h"
#include "support/FakePlatform.h"

namespace {

// A socket that only carries the connected flag.
class FlagSocket : public CSCSocket {
public:
    int Connect(const std::string&, int) override { return 0; }
    void Close() override { connected = 0; }
    int Send(const std::uint8_t*, int length) override { return length; }
    int Receive(std::uint8_t*, int) override { return 0; }
};

class HeadDiagnosticsTest : public ::testing::Test {
protected:
    void Configure(std::array<int, 4> present) { doc.ConfigureHeads(present.data()); }
    void Connect(std::array<int, 4> connected) {
        for (int h = 0; h < kHeadCount; ++h) {
            doc.heads[h].socket = std::make_unique<FlagSocket>();
            doc.heads[h].socket->connected = connected[h];
        }
    }
    void SetHeads() {
        const char* ids[4] = {"L-01", "M-02", "H-03", "ES-04"};
        const int frequencies[4] = {120000, 260000, 540000, 200000};
        for (int h = 0; h < kHeadCount; ++h) {
            doc.heads[h].headerId = ids[h];
            doc.heads[h].headerStatus = 0x10 + h;
            doc.heads[h].frequencyHz = frequencies[h];
            doc.heads[h].gainDb = 10 + h;
        }
    }
    FakePlatform platform;
    CVantrelDoc doc{platform};
};

TEST_F(HeadDiagnosticsTest, EveryValueStartsAsNotAvailableInTheHeads) {
    const DiagnosticsTexts t = MakeDiagnosticsTexts(doc);
    EXPECT_EQ(t.header, "n/a,  n/a,  n/a");
    EXPECT_EQ(t.connection, "N,  N,  N") << "no sockets yet";
}

TEST_F(HeadDiagnosticsTest, ThreeFrequencySystemListsAllFourHeads) {
    Configure({1, 1, 1, 1});
    SetHeads();
    Connect({1, 0, 1, 1});
    const std::uint8_t masks[4] = {0, 2, 1, 1};
    for (int h = 0; h < kHeadCount; ++h) doc.heads[h].transmitOffMask = masks[h];
    doc.serialNumber = "SV-2211";
    const DiagnosticsTexts t = MakeDiagnosticsTexts(doc);
    EXPECT_EQ(t.header, "L-01,  M-02,  H-03,  ES-04");
    EXPECT_EQ(t.serialStatus, "0x10,0x11,0x12,0x13");
    EXPECT_EQ(t.frequency, "120,  260,  540,  200 kHz");
    EXPECT_EQ(t.gain, "10,  11,  12,  13 dB");
    EXPECT_EQ(t.connection, "Y,  N,  Y,  Y");
    EXPECT_EQ(t.runMode, "0x00, 0x02, 0x01, 0x01");
    EXPECT_EQ(t.serialNumber, "SV-2211");
}

TEST_F(HeadDiagnosticsTest, OtherSystemsListTheDisplayChannelsAndTheEchoSounder) {
    struct Case {
        std::array<int, 4> present;
        std::array<int, 4> connected;
        const char *header, *frequency, *connection, *runMode;
    };
    // Display channels 1 and 2 (260 and 540 kHz), then 0 and 1, then 0 and 2.
    const Case cases[] = {
        {{0, 1, 1, 1},
         {0, 1, 1, 1},
         "M-02,  H-03,  ES-04",
         "260,  540,  200 kHz",
         "Y,  Y,  Y",
         "0x02,  0x01"},
        {{0, 1, 1, 1},
         {1, 1, 0, 0},
         "M-02,  H-03,  ES-04",
         "260,  540,  200 kHz",
         "Y,  N,  N",
         "0x02,  0x01"},
        {{1, 1, 0, 1},
         {1, 0, 1, 1},
         "L-01,  M-02,  ES-04",
         "120,  260,  200 kHz",
         "Y,  N,  Y",
         "0x03,  0x02"},
        {{1, 0, 1, 0},
         {0, 0, 1, 0},
         "L-01,  H-03,  ES-04",
         "120,  540,  200 kHz",
         "N,  Y,  N",
         "0x03,  0x01"},
    };
    for (const Case& c : cases) {
        Configure(c.present);
        SetHeads();
        Connect(c.connected);
        const std::uint8_t masks[4] = {3, 2, 1, 0};
        for (int h = 0; h < kHeadCount; ++h) doc.heads[h].transmitOffMask = masks[h];
        const DiagnosticsTexts t = MakeDiagnosticsTexts(doc);
        SCOPED_TRACE(c.header);
        EXPECT_EQ(t.header, c.header);
        EXPECT_EQ(t.frequency, c.frequency);
        EXPECT_EQ(t.connection, c.connection);
        EXPECT_EQ(t.runMode, c.runMode);
        EXPECT_EQ(t.serialStatus.size(), std::string("0x00,0x00,0x00").size());
    }
}

TEST_F(HeadDiagnosticsTest, RangesInTheOperatorsUnits) {
    struct Case {
        int units, range, esRange;
        const char* text;
    };
    const Case cases[] = {{1, 100, 50, "300 ft,   150 ft"},
                          {0, 100, 50, "100 m,   50 m"},
                          {1, 500, 300, "1500 ft,   900 ft"},
                          {0, 10, 5, "10 m,   5 m"}};
    for (const Case& c : cases) {
        doc.units = c.units;
        doc.range = c.range;
        doc.esRange = c.esRange;
        EXPECT_EQ(MakeDiagnosticsTexts(doc).range, c.text);
    }
}

TEST_F(HeadDiagnosticsTest, TimesOfRealTimeAndPlayback) {
    // Ten pings 40 ms apart make a loop time of 40 ms.
    for (int i = 0; i <= 10; ++i) {
        platform.tick = 1000 + 40 * static_cast<std::uint32_t>(i);
        doc.history.pingIntervalMs = doc.history.intervalMeter.Add(platform.tick);
        doc.history.intervalMeter.previousTick = static_cast<std::int32_t>(platform.tick);
    }
    ViewFeedback slowPaint;
    slowPaint.drawTimeAverage = 7;
    doc.SetViewFeedback(slowPaint);
    doc.files.recordedPingIntervalMs = 250;
    DiagnosticsTexts t = MakeDiagnosticsTexts(doc);
    EXPECT_EQ(t.loopTime, "40 ms");
    EXPECT_EQ(t.realTimePrf, "40 ms") << "in real time the measured interval";
    EXPECT_EQ(t.displayTime, "7 ms");
    doc.playbackMode = 1;
    t = MakeDiagnosticsTexts(doc);
    EXPECT_EQ(t.realTimePrf, "250 ms") << "in playback the interval of the file";
    EXPECT_EQ(t.loopTime, "40 ms");
}

TEST_F(HeadDiagnosticsTest, TransmitBoxesAreCheckedWhileTheirSideTransmits) {
    const std::uint8_t masks[4] = {0, 2, 1, 1};
    for (int h = 0; h < kHeadCount; ++h) doc.heads[h].transmitOffMask = masks[h];
    const TransmitChecks checks = ReadTransmitChecks(doc);
    // All boxes but 260 kHz Port, 540 kHz Stbd and ES.
    const std::pair<int, bool> expected[] = {{1406, true}, {1407, true}, {1415, false},
                                             {1420, true}, {1409, true}, {1411, false},
                                             {1413, false}};
    for (int i = 0; i < kTransmitSwitchCount; ++i) {
        EXPECT_EQ(TransmitSwitches()[i].controlId, expected[i].first);
        EXPECT_EQ(checks[i], expected[i].second) << expected[i].first;
    }
}

TEST_F(HeadDiagnosticsTest, UncheckedBoxesSetTheirBitsAndTheNextCommandCarriesThem) {
    const std::uint8_t masks[4] = {0, 2, 1, 1};
    for (int h = 0; h < kHeadCount; ++h) doc.heads[h].transmitOffMask = masks[h];
    TransmitChecks checks = ReadTransmitChecks(doc);
    checks[0] = checks[1] = false;  // 120 kHz Port and Stbd
    checks[2] = true;               // 260 kHz Port transmits again
    ApplyTransmitChecks(doc, checks);
    EXPECT_EQ(doc.heads[0].transmitOffMask, 3);
    EXPECT_EQ(doc.heads[1].transmitOffMask, 0);
    EXPECT_EQ(doc.heads[2].transmitOffMask, 1);
    EXPECT_EQ(doc.heads[3].transmitOffMask, 1);
    const std::uint8_t carried[4] = {3, 0, 1, 1};
    for (int h = 0; h < kHeadCount; ++h) {
        EXPECT_EQ(doc.heads[h].command[switchcmd::kTransmitOff], carried[h]) << h;
    }
    // The same boxes read back as they were written; other bits of a mask stay.
    doc.heads[2].transmitOffMask = 0x81;
    checks = ReadTransmitChecks(doc);
    ApplyTransmitChecks(doc, checks);
    EXPECT_EQ(doc.heads[2].transmitOffMask, 0x81);
}

TEST_F(HeadDiagnosticsTest, TransmitRowsAreNamedByTheHeadsFrequencies) {
    SetHeads();
    const std::array<std::string, 4> labels = TransmitRowLabels(doc);
    EXPECT_EQ(labels[0], "120 kHz");
    EXPECT_EQ(labels[1], "260 kHz");
    EXPECT_EQ(labels[2], "540 kHz");
    EXPECT_EQ(labels[3], "ES");
}

}  // namespace
