// Framing of received text, the two sentence lists, the end of a read and of a batch, the
// playback of recorded sentences and the lock held over a batch.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "gps/NmeaTestSupport.h"

namespace {

const std::string kRmc = Nmea("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
const std::string kVtg = Nmea("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K");
const std::string kHdt = Nmea("GPHDT,274.07,T");

std::string WithoutLineFeed(std::string sentence) {
    sentence.pop_back();
    return sentence;
}

TEST(NmeaFramingTest, SentenceSplitOverTwoReadsIsDecodedWhenItsEndArrives) {
    GpsState gps;
    const std::string stream = kVtg + kRmc + kHdt;
    const std::size_t cut = kVtg.size() + 20;  // in the middle of the RMC sentence
    Read(gps, stream.substr(0, cut));
    EXPECT_EQ(gps.pendingText, kRmc.substr(0, 20));
    EXPECT_EQ(gps.speedText, "5.5 Knots");
    EXPECT_EQ(gps.timeText, "n/a");
    Read(gps, stream.substr(cut));
    EXPECT_EQ(gps.timeText, "12:35:19");
    EXPECT_EQ(gps.speedText, "22.4 Knots");
    EXPECT_EQ(gps.pendingText, kHdt);  // its end is only known when the next '$' comes
}

TEST(NmeaFramingTest, TextBeforeTheFirstDollarIsDropped) {
    GpsState gps;
    Read(gps, "noise\r\n" + kVtg.substr(10) + kRmc + "$");
    EXPECT_EQ(gps.ringCount, 1);
    EXPECT_EQ(gps.sentenceRing[0], WithoutLineFeed(kRmc));
}

TEST(NmeaFramingTest, RecentSentencesHoldThisBatchsLatestRecognisedOnes) {
    struct Case {
        int recognised;
        int firstKept;
        int filled;
    };
    const Case cases[] = {{12, 2, 10}, {10, 0, 10}, {3, 0, 3}, {1, 0, 1}};
    for (const Case& c : cases) {
        GpsState gps;
        gps.recentSentences.fill("$GPOLD,previous batch");
        std::string batch;
        for (int i = 0; i < c.recognised; ++i) {
            batch += Nmea("GPVTG," + std::to_string(100 + i) + ",T,,M,,N,,K");
            batch += Nmea("GPGSV,1,1,00");  // not recognised: only in the ring
        }
        Read(gps, batch + "$");
        for (int slot = 0; slot < kSentenceSlots; ++slot) {
            SCOPED_TRACE(testing::Message() << c.recognised << " slot " << slot);
            if (slot < c.filled) {
                EXPECT_EQ(gps.recentSentences[slot],
                          WithoutLineFeed(Nmea("GPVTG," + std::to_string(100 + c.firstKept + slot) +
                                               ",T,,M,,N,,K")));
            } else {
                EXPECT_EQ(gps.recentSentences[slot], "");
            }
        }
        EXPECT_DOUBLE_EQ(gps.gpsCourse, 100 + c.recognised - 1);
    }
}

TEST(NmeaFramingTest, RingKeepsTheLastTenSentencesOfAnyKind) {
    GpsState gps;
    // A fragment keeps the character before the next '$' unless it is a line feed.
    Read(gps, "$$GP" + Nmea("GPGSV,1,1,00") + kVtg + "$");
    EXPECT_EQ(gps.ringCount, 4);
    EXPECT_EQ(gps.sentenceRing[0], "$");
    EXPECT_EQ(gps.sentenceRing[1], "$GP");
    EXPECT_EQ(gps.sentenceRing[3], WithoutLineFeed(kVtg));
    std::string many;
    for (int i = 0; i < 13; ++i) many += Nmea("GPTXT," + std::to_string(i));
    Read(gps, many + "$");
    EXPECT_EQ(gps.ringCount, 10);
    EXPECT_EQ(gps.sentenceRing[0], WithoutLineFeed(Nmea("GPTXT,3")));
    EXPECT_EQ(gps.sentenceRing[9], WithoutLineFeed(Nmea("GPTXT,12")));
}

TEST(NmeaFramingTest, BudgetLeavesABacklogForTheNextRead) {
    GpsState gps;
    std::string backlog;
    for (int i = 0; i < 5; ++i) backlog += Nmea("GPVTG," + std::to_string(100 + i) + ",T,,M,,N,,K");
    gps.pendingText = backlog;
    Read(gps, "$");  // one new byte: one sentence decoded, the rest waits
    EXPECT_DOUBLE_EQ(gps.gpsCourse, 100.0);
    EXPECT_EQ(gps.ringCount, 1);
    Read(gps, std::string(backlog.size(), ' '));
    EXPECT_DOUBLE_EQ(gps.gpsCourse, 104.0);
    EXPECT_EQ(gps.pendingText.front(), '$');
}

TEST(NmeaFramingTest, PendingTextIsCapped) {
    GpsState gps;
    const std::string noise(10000, 'x');  // a wrong baud rate: never a '$'
    for (int i = 0; i < 5; ++i) Read(gps, noise);
    EXPECT_LE(gps.pendingText.size(), kPendingTextCap);
    Read(gps, "$GPRMC," + noise);  // a sentence that never ends
    EXPECT_LE(gps.pendingText.size(), kPendingTextCap);
    // The dropped noise is taken off the first good read's budget; the next read catches up.
    for (int i = 0; i < 3; ++i) Read(gps, kRmc + "$");
    EXPECT_EQ(gps.speedText, "22.4 Knots");
    EXPECT_LE(gps.pendingText.size(), kPendingTextCap);
    // A large burst of good sentences is still decoded whole, whatever the budget.
    std::string burst;
    while (burst.size() < 5 * kPendingTextCap) burst += kVtg;
    Read(gps, std::string(3 * kPendingTextCap, 'x') + burst + "$");
    EXPECT_LE(gps.pendingText.size(), kPendingTextCap);
}

TEST(NmeaFramingTest, LongSentencesAreCutToTheRecordSlot) {
    GpsState gps;
    // Two sentences joined by a lost '$': the first one's fields and checksum stay intact.
    const std::string joined = WithoutLineFeed(kRmc) + "\n" + kVtg.substr(1) + kVtg.substr(1);
    ASSERT_GT(joined.size(), kSentenceMaxLength);
    Read(gps, joined + "$");
    EXPECT_EQ(gps.recentSentences[0], joined.substr(0, kSentenceMaxLength));
    EXPECT_EQ(gps.sentenceRing[0].size(), kSentenceMaxLength);
    EXPECT_EQ(gps.speedText, "22.4 Knots");
}

TEST(NmeaFramingTest, HeadingFallsBackToTheCourseAfterTenReadsWithoutHdt) {
    GpsState gps;
    Read(gps, kHdt + kVtg + "$");
    EXPECT_EQ(gps.headingText, "274.1 Deg.");
    for (int read = 1; read <= 9; ++read) {
        Read(gps, "");
        EXPECT_EQ(gps.headingText, "274.1 Deg.") << read;
    }
    Read(gps, "");
    EXPECT_EQ(gps.headingText, "n/a");
    EXPECT_DOUBLE_EQ(gps.gpsHeading, gps.gpsCourse);
    Read(gps, kVtg);  // still none
    EXPECT_EQ(gps.headingText, "n/a");
    Read(gps, kHdt + kHdt + kHdt + "$");  // the budget first takes the VTG still waiting
    EXPECT_EQ(gps.headingText, "274.1 Deg.");
    EXPECT_DOUBLE_EQ(gps.gpsHeading, 274.07);
    EXPECT_EQ(gps.readsWithoutHeading, 0);
}

TEST(NmeaFramingTest, DataChangedFlagsTheReadsThatDecodedSomething) {
    GpsState gps;
    Read(gps, kVtg + "$");
    EXPECT_EQ(gps.gpsDataChanged, 1);
    Read(gps, "");
    EXPECT_EQ(gps.gpsDataChanged, 0);
}

TEST(NmeaFramingTest, BatchEndAddsATrackPointOnlyForADecodedPosition) {
    GpsState gps;
    Read(gps, kRmc + "$");  // the origin
    ASSERT_EQ(gps.track.firstPointPending, 0);
    const std::string moved = Nmea("GPRMC,123520,A,4807.048,N,01131.000,E,022.4,084.4,230394,,");
    Read(gps, moved + "$");
    ASSERT_EQ(gps.track.trackPath.size(), 1u);
    EXPECT_NEAR(gps.track.trackY, -18.5, 0.1);  // 0.01 minute north: upward on the plotter
    // A slider move zeroes the position; a record with only speed and course adds nothing.
    gps.gpsLatitude = gps.gpsLongitude = 0.0;
    Read(gps, kVtg + kHdt + "$");
    EXPECT_EQ(gps.track.trackPath.size(), 1u);
    EXPECT_NEAR(gps.track.trackY, -18.5, 0.1);
    // A ship standing still adds no segment.
    Read(gps, moved + "$");
    EXPECT_EQ(gps.track.trackPath.size(), 1u);
}

TEST(NmeaFramingTest, PlaybackRewritesOnlyTheTextsOfDecodedValues) {
    GpsState gps;
    gps.readerExists = 1;
    gps.recentSentences = {"$GPS"};  // a record made without GPS input
    gps.ReplayRecordedSentences({});
    EXPECT_EQ(gps.speedText, "n/a");
    EXPECT_EQ(gps.courseText, "n/a");
    EXPECT_EQ(gps.headingText, "");

    gps.recentSentences = {WithoutLineFeed(kRmc), WithoutLineFeed(kHdt), "$GPS"};
    gps.ReplayRecordedSentences({});
    EXPECT_EQ(gps.speedText, "22.4 Knots");
    EXPECT_EQ(gps.courseText, "84.4 Deg.");
    EXPECT_EQ(gps.headingText, "274.1 Deg.");
    EXPECT_EQ(gps.sentenceRing[0], WithoutLineFeed(kRmc));
    EXPECT_EQ(gps.sentenceRing[2], "$GPS");

    // Corrupted sentences are not decoded in playback either.
    gps.recentSentences = {"$GPVTG,054.7,T,034.4,M,006.5,N,010.2,K*48\r"};
    gps.ReplayRecordedSentences({});
    EXPECT_EQ(gps.speedText, "22.4 Knots");
}

// The whole-batch operations take the lock themselves: a caller that fills the sentences
// under the lock, lets it go and replays (as playback and the exports do) neither deadlocks
// nor leaves the lock held. Run on a second thread so that a fault fails the test by timeout
// instead of hanging the whole program.
TEST(NmeaFramingTest, ReplayAndReadTakeTheLockThemselvesAndReleaseIt) {
    GpsState gps;
    std::promise<bool> done;
    std::thread worker([&] {
        {
            std::lock_guard<std::mutex> guard(gps.lock);
            gps.recentSentences = {WithoutLineFeed(kRmc)};
        }
        gps.ReplayRecordedSentences({});
        const bool replayFreed = gps.lock.try_lock();
        if (replayFreed) gps.lock.unlock();
        Read(gps, kHdt + "$");
        const bool readFreed = gps.lock.try_lock();
        if (readFreed) gps.lock.unlock();
        done.set_value(replayFreed && readFreed);
    });
    std::future<bool> freed = done.get_future();
    const bool finished = freed.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finished) {
        worker.detach();
        FAIL() << "a whole-batch operation did not return";
    }
    worker.join();
    EXPECT_TRUE(freed.get());
    EXPECT_EQ(gps.speedText, "22.4 Knots");
    EXPECT_EQ(gps.headingText, "274.1 Deg.");
}

// What is not a sentence is counted byte by byte, whichever way it leaves the working text;
// a sentence whose checksum is wrong is counted once. Each case is fed in reads of the sizes
// given, so that text split across reads counts the same.
TEST(NmeaFramingTest, LineCountersCountChecksumFailuresAndBytesThatAreNotNmea) {
    std::string binary;
    for (int i = 0; i < 300; ++i) binary.push_back(static_cast<char>((i * 37 + 11) % 256));
    ASSERT_GT(std::count(binary.begin(), binary.end(), '$'), 0);  // binary noise holds '$' too
    std::string corrupted = kRmc;
    corrupted[10] = '9';
    const std::string longLine = "$GPTXT," + std::string(100000, 'x');
    struct Case {
        const char* name;
        std::string text;
        std::size_t readSize;
        std::uint64_t checksumFailures;
        std::uint64_t nonNmea;
    };
    const Case cases[] = {
        {"clean", kRmc + kVtg + kHdt + "$", 7, 0, 0},
        {"noise before", "garbage" + kRmc + "$", 1000, 0, 7},
        {"bad checksums", corrupted + kVtg + corrupted + "$", 1000, 2, 0},
        {"bad checksums split", corrupted + corrupted + "$", 5, 2, 0},
        {"binary then a sentence", binary + kRmc + "$", 64, 0, binary.size()},
        {"long line", longLine + kRmc + "$", 4096, 0, longLine.size()},
        {"long line without '$'", std::string(5000, 'y') + kRmc + "$", 700, 0, 5000},
        {"fragments", "$$GP$GPRMC\x01,1*00\r\n" + kVtg + "$", 1000, 0, 1 + 3 + 14},
    };
    for (const Case& c : cases) {
        GpsState gps;
        for (std::size_t at = 0; at < c.text.size(); at += c.readSize) {
            const std::size_t n = std::min(c.readSize, c.text.size() - at);
            gps.DecodeRead(c.text.data() + at, n, {});
        }
        // The text after the last '$' has not left yet.
        EXPECT_EQ(gps.line.checksumFailures, c.checksumFailures) << c.name;
        EXPECT_EQ(gps.line.nonNmeaBytes, c.nonNmea) << c.name;
    }
}

// The dialog's list changes with any sentence, recognised or not; and a read that renewed the
// recorded sentences counts as a batch.
TEST(NmeaFramingTest, ReadsSayWhetherTheListOrTheRecordedSentencesChanged) {
    GpsState gps;
    Read(gps, Nmea("PGRMT,GPS 15x-W software version 2.70") + "$");
    EXPECT_EQ(gps.ringChanged, 1);
    EXPECT_EQ(gps.gpsDataChanged, 0);  // nothing for the decoders
    EXPECT_EQ(gps.sentenceBatches, 0u);
    Read(gps, "");
    EXPECT_EQ(gps.ringChanged, 0);
    Read(gps, kRmc + "$");
    EXPECT_EQ(gps.ringChanged, 1);
    EXPECT_EQ(gps.sentenceBatches, 1u);
    Read(gps, "");
    EXPECT_EQ(gps.sentenceBatches, 1u);
}

TEST(NmeaFramingTest, ResetReturnsToNotAvailable) {
    GpsState gps;
    Read(gps, kRmc + kHdt + kRmc + "$");
    gps.Reset(false);
    for (const std::string* text :
         {&gps.latitudeText, &gps.longitudeText, &gps.timeText, &gps.speedText, &gps.courseText,
          &gps.headingText, &gps.dateText}) {
        EXPECT_EQ(*text, "n/a");
    }
    EXPECT_EQ(gps.shipSpeedKnots, 0.0);
    EXPECT_EQ(gps.gpsLatitude, 0.0);
    EXPECT_EQ(gps.ringCount, 0);
    EXPECT_EQ(gps.sentenceRing[0], "");
    EXPECT_EQ(gps.pendingText, "");
    EXPECT_EQ(gps.track.firstPointPending, 0);  // the origin stays
    gps.Reset(true);
    EXPECT_EQ(gps.track.utmEasting, 0.0);
    EXPECT_TRUE(gps.track.trackPath.empty());
}

// The window thread reading under the lock never sees a latitude of a southern position
// before its sign was applied: the reader holds the lock over the whole batch.
TEST(NmeaFramingTest, WindowThreadNeverSeesAnUnsignedSouthernLatitude) {
    GpsState gps;
    std::string batch;
    for (int i = 0; i < 20; ++i) {
        batch += Nmea("GPGGA,123519,3354.000,S,01824.000,E,1,08,0.9,545.4,M,46.9,M,,");
    }
    batch += "$";
    std::atomic<bool> done{false};
    std::thread reader([&] {
        for (int i = 0; i < 2000; ++i) Read(gps, batch);
        done = true;
    });
    int unsigned_seen = 0;
    while (!done) {
        std::lock_guard<std::mutex> guard(gps.lock);
        if (gps.gpsLatitude > 0.0) ++unsigned_seen;
    }
    reader.join();
    EXPECT_EQ(unsigned_seen, 0);
    EXPECT_NEAR(gps.gpsLatitude, -33.9, 1e-9);
}

}  // namespace
