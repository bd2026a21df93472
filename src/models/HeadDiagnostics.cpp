#include "models/HeadDiagnostics.h"

#include "common/TextFormat.h"
#include "document/CVantrelDoc.h"

namespace {

// The heads the dialog lists: all four, or display channel A, B and the echo sounder.
std::array<int, 4> ShownHeads(const CVantrelDoc& doc, int& count) {
    if (doc.threeFrequencySystem) {
        count = 4;
        return {kHeadL, kHeadM, kHeadH, kHeadES};
    }
    count = 3;
    return {doc.displayChannelA, doc.displayChannelB, kHeadES, kHeadES};
}

// Joins one value per shown head; `last` is the format of the final one.
template <typename Value>
std::string PerHead(const CVantrelDoc& doc, const char* each, const char* last, Value value) {
    int count = 0;
    const std::array<int, 4> shown = ShownHeads(doc, count);
    std::string text;
    for (int i = 0; i < count; ++i) text += Printf(i + 1 < count ? each : last, value(shown[i]));
    return text;
}

std::string Connection(const CVantrelDoc& doc) {
    int count = 0;
    const std::array<int, 4> shown = ShownHeads(doc, count);
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += doc.heads[shown[i]].IsConnected() ? "Y" : "N";
        if (i + 1 < count) text += ",  ";
    }
    return text;
}

std::string RunMode(const CVantrelDoc& doc) {
    const auto mask = [&](int head) { return doc.heads[head].transmitOffMask; };
    if (doc.threeFrequencySystem) {
        return Printf("0x%02x, 0x%02x, 0x%02x, 0x%02x", mask(kHeadL), mask(kHeadM), mask(kHeadH),
                      mask(kHeadES));
    }
    return Printf("0x%02x,  0x%02x", mask(doc.displayChannelA), mask(doc.displayChannelB));
}

}  // namespace

DiagnosticsTexts MakeDiagnosticsTexts(const CVantrelDoc& doc) {
    DiagnosticsTexts t;
    int count = 0;
    const std::array<int, 4> shown = ShownHeads(doc, count);
    for (int i = 0; i < count; ++i) {
        if (i > 0) t.header += ",  ";
        t.header += doc.heads[shown[i]].headerId;
    }
    t.serialStatus =
        PerHead(doc, "0x%02x,", "0x%02x", [&](int h) { return doc.heads[h].headerStatus & 0xFF; });
    t.frequency =
        PerHead(doc, "%d,  ", "%d kHz", [&](int h) { return doc.heads[h].frequencyHz / 1000; });
    t.gain = PerHead(doc, "%d,  ", "%d dB", [&](int h) { return doc.heads[h].gainDb; });
    // In real time the interval the recorder writes is the measured one; in playback it is
    // the one read from the file.
    const std::int32_t recorded =
        doc.playbackMode ? doc.files.recordedPingIntervalMs : doc.history.pingIntervalMs;
    t.realTimePrf = Printf("%d ms", recorded);
    t.range = doc.units != 0 ? Printf("%d ft,   %d ft", doc.range * 3, doc.esRange * 3)
                             : Printf("%d m,   %d m", doc.range, doc.esRange);
    t.connection = Connection(doc);
    t.loopTime = Printf("%d ms", doc.history.intervalMeter.measured);
    t.displayTime = Printf("%d ms", doc.feedback.drawTimeAverage);
    t.runMode = RunMode(doc);
    t.serialNumber = doc.serialNumber;
    return t;
}

const std::array<TransmitSwitch, kTransmitSwitchCount>& TransmitSwitches() {
    static const std::array<TransmitSwitch, kTransmitSwitchCount> switches = {{
        {1406, kHeadL, kPortSilent},
        {1407, kHeadL, kStarboardSilent},
        {1415, kHeadM, kPortSilent},
        {1420, kHeadM, kStarboardSilent},
        {1409, kHeadH, kPortSilent},
        {1411, kHeadH, kStarboardSilent},
        {1413, kHeadES, kStarboardSilent},  // the echo sounder's one beam: value 1
    }};
    return switches;
}

TransmitChecks ReadTransmitChecks(const CVantrelDoc& doc) {
    TransmitChecks checks{};
    for (int i = 0; i < kTransmitSwitchCount; ++i) {
        const TransmitSwitch& s = TransmitSwitches()[i];
        checks[i] = (doc.heads[s.head].transmitOffMask & s.bit) == 0;
    }
    return checks;
}

void ApplyTransmitChecks(CVantrelDoc& doc, const TransmitChecks& checks) {
    for (int i = 0; i < kTransmitSwitchCount; ++i) {
        const TransmitSwitch& s = TransmitSwitches()[i];
        std::uint8_t& mask = doc.heads[s.head].transmitOffMask;
        mask = checks[i] ? static_cast<std::uint8_t>(mask & ~s.bit)
                         : static_cast<std::uint8_t>(mask | s.bit);
    }
    doc.BuildSwitchCommands();
}

std::array<std::string, 4> TransmitRowLabels(const CVantrelDoc& doc) {
    std::array<std::string, 4> labels;
    for (int h = kHeadL; h <= kHeadH; ++h)
        labels[h] = Printf("%d kHz", doc.heads[h].frequencyHz / 1000);
    labels[kHeadES] = "ES";
    return labels;
}
