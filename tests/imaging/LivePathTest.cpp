// The live path against a reference model that scrolls by literally moving rows down, as a
// plain image buffer would: every row of every image and every row stamp must agree.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "imaging/ImagingFixture.h"

namespace {

struct ModelImage {
    int width = 0, rows = 0, bytesPerPixel = 1;
    std::vector<std::uint8_t> pixels;
    void Allocate(int w, int r, int bpp) {
        width = w;
        rows = r;
        bytesPerPixel = bpp;
        pixels.assign(static_cast<std::size_t>(w * r * bpp), 0);
    }
    std::uint8_t* Row(int r) {
        return pixels.data() + static_cast<std::size_t>(r * width * bytesPerPixel);
    }
    // Rows 0 .. rows-1-a move down by a, from the bottom up.
    void BlockMove(int a) {
        for (int r = rows - 1 - a; r >= 0; --r) {
            std::memmove(Row(r + a), Row(r), static_cast<std::size_t>(width * bytesPerPixel));
        }
    }
};

struct ModelStamp {
    std::string time, latitude;
    int pingNumber = 0, advance = 1;
};

// The old top row moves down with its line and keeps the time and place of that line's ping
// (`drawnTop`, what row 0 held before this cycle stamped it).
void BlockMoveStamps(std::vector<ModelStamp>& stamps, int a, const ModelStamp& drawnTop) {
    const int rows = static_cast<int>(stamps.size());
    for (int r = rows - 1 - a; r >= 0; --r)
        stamps[static_cast<std::size_t>(r + a)] = stamps[static_cast<std::size_t>(r)];
    if (a < rows) {
        stamps[static_cast<std::size_t>(a)].time = drawnTop.time;
        stamps[static_cast<std::size_t>(a)].latitude = drawnTop.latitude;
    }
}

// What the model needs to know of one cycle.
struct ModelCycle {
    const CVantrelDoc* doc;
    int sideMode, range, interval, pingNumber;
    double knots;
};

class Model {
public:
    std::array<ModelImage, 3> planes, images;
    ModelImage rgb;
    std::array<std::vector<ModelStamp>, 4> stamps;
    std::array<ModelStamp, 4> drawnTop;
    std::array<double, 4> remainder{};
    int rowCounter = 0;

    int Advance(int slot, int width, const ModelCycle& c) {
        double m = 0.0;
        if (c.sideMode == 1 || c.sideMode == 2) m = static_cast<double>(width) / c.range;
        if (c.sideMode == 3) m = width * 0.5 / c.range;
        const int interval = c.interval == 0 ? 250 : c.interval;
        const double h = remainder[slot] + m * c.knots * (interval * 0.001) * 0.51444444444;
        const int a = static_cast<int>(h);
        remainder[slot] = h - a;
        return a;
    }

    void Path(int channel, bool composite, int advance, const ModelCycle& c) {
        const CVantrelDoc& doc = *c.doc;
        ModelImage& image = composite ? planes[channel] : images[channel];
        const int width = image.width;
        const int a = std::min(advance, image.rows - 1);
        if (a > 0) {
            image.BlockMove(a);
            if (!composite) BlockMoveStamps(stamps[channel], a, drawnTop[channel]);
            if (composite && channel == 0) {
                rgb.BlockMove(a);
                BlockMoveStamps(stamps[3], a, drawnTop[3]);
            }
        }
        std::vector<std::uint8_t> line(static_cast<std::size_t>(width));
        BuildLine(doc.heads[channel].line.data(), c.sideMode, doc.replyDataLength, width,
                  doc.images.slotStates[composite ? 3 : channel].zoomFactor, line.data());
        std::uint8_t* top = image.Row(0);
        for (int x = 0; x < width; ++x) top[x] = a > 0 ? line[x] : std::max(top[x], line[x]);
        ClipRange(top, width, c.range, ClipMaxRange(doc.heads[channel].frequencyHz, c.range),
                  c.sideMode);
        const double f = doc.images.slotStates[channel].intensityFactor;
        for (int x = 0; x < width; ++x)
            top[x] = static_cast<std::uint8_t>(std::min(254, static_cast<int>(f * top[x])));
        const bool colour = composite && doc.heads[channel].available;
        auto setColour = [&](int r) {
            for (int x = 0; x < width; ++x) {
                const double v = f * 255 * std::sin(image.Row(r)[x] * 0.5 * 3.1415926 * 0.00390625);
                rgb.Row(r)[3 * x + channel] =
                    static_cast<std::uint8_t>(std::min(254, static_cast<int>(v)));
            }
        };
        if (colour) setColour(0);
        auto& slotStamps = stamps[channel == 0 ? 3 : channel];
        if (composite) {
            slotStamps[0].pingNumber = c.pingNumber;
            slotStamps[0].advance = a;
        }
        for (int i = a - 1; i >= 1; --i) {
            for (int x = 0; x < width; ++x) {
                // (i / a) * older + ((a - i) / a) * newest, exactly.
                const int v = (i * image.Row(i + 1)[x] + (a - i) * top[x]) / a;
                image.Row(i)[x] = static_cast<std::uint8_t>(std::min(254, v));
            }
            if (!composite) {
                // The stamp shown under the pointer: the newer ping's time and texts.
                stamps[channel][static_cast<std::size_t>(i)].time = stamps[channel][0].time;
                stamps[channel][static_cast<std::size_t>(i)].latitude = stamps[channel][0].latitude;
                continue;
            }
            if (colour) setColour(i);
            slotStamps[static_cast<std::size_t>(i)] = slotStamps[0];
        }
        if (composite && channel == 0) rowCounter += a;
    }

    void Cycle(const ModelCycle& c) {
        const CVantrelDoc& doc = *c.doc;
        const auto time = doc.cycleTime.PingTime();
        for (std::size_t k = 0; k < stamps.size(); ++k) {
            drawnTop[k] = stamps[k][0];
            stamps[k][0].time = std::string(time.data(), 12).c_str();
            stamps[k][0].latitude = doc.gps.latitudeText;
        }
        if (doc.images.compositeMode) {
            const int a = Advance(3, rgb.width, c);
            for (int channel = 0; channel < 3; ++channel) Path(channel, true, a, c);
            for (int channel = 0; channel < 3; ++channel) {
                Path(channel, false, Advance(channel, images[channel].width, c), c);
            }
        } else {
            const int channelA = doc.displayChannelA, channelB = doc.displayChannelB;
            const int a = Advance(channelA, images[channelA].width, c);
            Path(channelA, false, a, c);
            if (channelB != channelA) Path(channelB, false, a, c);
        }
    }
};

class LivePathTest : public ImagingFixture {
protected:
    void Allocate(bool composite) {
        const int rows[3] = {37, 50, 41};
        for (int c = 0; c < 3; ++c) {
            doc.images.AllocateChannelImage(c, widths[c], rows[c]);
            model.images[c].Allocate(widths[c], rows[c], 1);
            model.stamps[c].assign(static_cast<std::size_t>(rows[c]), ModelStamp{});
            if (composite) model.planes[c].Allocate(100, 37, 1);
        }
        if (composite) {
            doc.images.AllocateComposite(100, 37);
            model.rgb.Allocate(100, 37, 3);
        }
        model.stamps[3].assign(37, ModelStamp{});
    }

    // A cycle with random settings, fed to the document and to the model.
    void RandomCycle(int number) {
        static const int ranges[] = {10, 20, 50, 150, 300, 400};
        FillLines();
        ModelCycle c{&doc, static_cast<int>(rng() % 3) + 1, ranges[rng() % 6], 0, number, 0.0};
        const unsigned kind = rng() % 20;
        c.interval = static_cast<int>(kind < 14   ? rng() % 600
                                      : kind < 19 ? rng() % 3000
                                                  : rng() % 30000);
        c.knots = (rng() % 1000) / 100.0;
        doc.images.sideMode = c.sideMode;
        doc.range = c.range;
        doc.history.pingIntervalMs = c.interval;  // playback: the interval stands as stored
        doc.speed.manualSpeedKnots = c.knots;
        doc.recording.pingNumber = number;
        for (int h = 0; h < 3; ++h) {
            doc.heads[h].available = rng() % 100 < 85 ? 1 : 0;
            doc.images.slotStates[h].intensityFactor = rng() % 10 < 6 ? 1.0 : (rng() % 201) / 100.0;
        }
        doc.gps.latitudeText = "L" + std::to_string(number);
        platform.now = {2020,
                        1,
                        0,
                        2,
                        static_cast<int>(rng() % 24),
                        static_cast<int>(rng() % 60),
                        static_cast<int>(rng() % 60),
                        static_cast<int>(rng() % 1000)};
        doc.StampCycleTime();
        doc.StoreCycle();
        model.Cycle(c);
    }

    void ExpectImage(const RingImage& image, ModelImage& expected, const char* what) {
        ASSERT_EQ(image.Rows(), expected.rows);
        for (int r = 0; r < expected.rows; ++r) {
            ASSERT_EQ(0, std::memcmp(image.Row(r), expected.Row(r),
                                     static_cast<std::size_t>(image.BytesPerLine())))
                << what << " row " << r;
        }
    }
    void ExpectStamps(int slot) {
        const auto& expected = model.stamps[static_cast<std::size_t>(slot)];
        for (std::size_t r = 0; r < expected.size(); ++r) {
            const RowInfo& info = doc.images.RowStamp(slot, static_cast<int>(r));
            ASSERT_EQ(info.Time(), expected[r].time) << "slot " << slot << " row " << r;
            ASSERT_EQ(info.texts[kNavLatitude].View(), expected[r].latitude) << slot << " " << r;
            ASSERT_EQ(info.pingNumber, expected[r].pingNumber) << slot << " " << r;
            ASSERT_EQ(info.advance, expected[r].advance) << slot << " " << r;
        }
    }
    void Run(bool composite, int cycles) {
        doc.playbackMode = 1;
        doc.gps.readerExists = 1;
        doc.replyDataLength = 40;  // so that the wider images expand and smooth
        for (int c = 0; c < 3; ++c) doc.images.slotStates[c].zoomFactor = zooms[c];
        doc.heads[kHeadH].frequencyHz = 540000;
        doc.speed.useManualSpeed = 1;
        doc.images.compositeMode = composite ? 1 : 0;
        Allocate(composite);
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            RandomCycle(cycle);
            for (int c = 0; c < 3; ++c) {
                ExpectImage(doc.images.ChannelImage(c), model.images[c], "channel");
                if (composite) ExpectImage(doc.images.CompositePlane(c), model.planes[c], "plane");
                ExpectStamps(c);
            }
            if (composite) {
                ExpectImage(doc.images.CompositeImage(), model.rgb, "24-bit");
                ExpectStamps(kCompositeSlot);
                ASSERT_EQ(doc.images.compositeRowCounter, model.rowCounter);
            }
            if (HasFatalFailure()) {
                ADD_FAILURE() << "cycle " << cycle;
                return;
            }
        }
    }

    Model model;
    // Channel images: widths and zoom factors (the composite is 100 wide at zoom 1).
    std::array<int, 3> widths{60, 100, 140};
    std::array<double, 3> zooms{1.0, 3.0, 2.0};
};

TEST_F(LivePathTest, CompositeRowsEqualThoseOfABlockMove) {
    Run(true, 300);
}

// A channel image as wide and zoomed as the composite takes the line its plane took for the
// same ping; one as wide but zoomed otherwise builds its own.
TEST_F(LivePathTest, ChannelImagesLikeTheCompositeEqualThoseOfABlockMove) {
    widths = {100, 100, 100};
    zooms = {1.0, 1.0, 2.0};
    Run(true, 200);
}

TEST_F(LivePathTest, ChannelRowsEqualThoseOfABlockMove) {
    doc.displayChannelA = kHeadL;
    doc.displayChannelB = kHeadH;
    Run(false, 200);
}

TEST_F(LivePathTest, SingleHeadShownAsBothChannelsTakesEachPingOnce) {
    doc.displayChannelA = doc.displayChannelB = kHeadM;
    Run(false, 100);
}

TEST_F(LivePathTest, IncrementalCompositeEqualsTheCompositeOfItsPlanes) {
    doc.images.compositeMode = 1;
    doc.images.AllocateComposite(200, 60);
    doc.range = 20;
    for (int cycle = 0; cycle < 150; ++cycle) {
        FillLines();
        doc.images.sideMode = static_cast<int>(rng() % 3) + 1;
        StoreAt((rng() % 800) / 100.0);
    }
    const RingImage& rgb = doc.images.CompositeImage();
    for (int r = 0; r < rgb.Rows(); ++r) {
        for (int c = 0; c < 3; ++c) {
            const std::uint8_t* plane = doc.images.CompositePlane(c).Row(r);
            for (int x = 0; x < rgb.Width(); ++x) {
                const int v =
                    static_cast<int>(255 * std::sin(plane[x] * 0.5 * 3.1415926 * 0.00390625));
                ASSERT_EQ(rgb.Row(r)[3 * x + c], std::min(254, v)) << r << " " << c << " " << x;
            }
        }
    }
}

// The pointer read-out shows the time and date of the row under it: every row that holds a
// ping, or a blend towards one, has a time, in channel images as in the composite.
// The row a ping's line was drawn into keeps that ping's time when newer pings scroll it
// down: every row of the composite shows the time of the ping it names.
TEST_F(LivePathTest, EachRowKeepsTheTimeOfItsOwnPing) {
    doc.images.compositeMode = 1;
    for (int c = 0; c < 3; ++c) doc.images.AllocateChannelImage(c, 400, 300);
    doc.images.AllocateComposite(400, 300);
    doc.range = 20;
    FillLines(100);
    for (int cycle = 0; cycle < 12; ++cycle) {
        platform.now.second = cycle;
        doc.recording.pingNumber = cycle + 1;
        doc.StampCycleTime();
        StoreAt(6.0);  // several rows per ping
    }
    ASSERT_GT(doc.images.rowAdvance, 2);
    int checked = 0;
    for (int r = 0; r < 300; ++r) {
        const RowInfo& row = doc.images.RowStamp(kCompositeSlot, r);
        if (row.pingNumber == 0) continue;
        const std::string time(row.Time());
        ASSERT_GE(time.size(), 8u) << "row " << r;
        EXPECT_EQ(std::stoi(time.substr(6, 2)), row.pingNumber - 1)
            << "row " << r << " of ping " << row.pingNumber << " at " << time;
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

TEST_F(LivePathTest, EveryRowBetweenPingsCarriesATime) {
    for (const bool composite : {false, true}) {
        SCOPED_TRACE(composite ? "composite mode" : "channel images");
        doc.images.compositeMode = composite ? 1 : 0;
        doc.displayChannelA = kHeadL;
        doc.displayChannelB = kHeadH;
        for (int c = 0; c < 3; ++c) doc.images.AllocateChannelImage(c, 400, 300);
        if (composite) doc.images.AllocateComposite(400, 300);
        doc.range = 20;
        FillLines(100);
        int filled = 0;
        for (int cycle = 0; cycle < 30; ++cycle) {
            platform.now.second = cycle;
            doc.StampCycleTime();
            StoreAt(6.0);  // several rows per ping
            filled += doc.images.rowAdvance;
        }
        ASSERT_GT(doc.images.rowAdvance, 2);
        for (int slot : {0, 2}) {
            for (int r = 0; r < std::min(filled, 299); ++r) {
                ASSERT_FALSE(doc.images.RowStamp(slot, r).Time().empty())
                    << "slot " << slot << " row " << r;
            }
        }
    }
}

}  // namespace
