// The builder's set-ups of the modes, the heads and the image state that no operation reaches
// alone; with DocumentBuilder_DataSetups.cpp the only place in the tests that writes fields of
// the document. Each stands in for what a played file, a head's reply or the road of a cycle
// would have written.

#include "support/DocumentBuilder.h"

DocumentBuilder& DocumentBuilder::PlaybackFlag(bool playback) {
    doc.playbackMode = playback ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::RealTimeActive(bool active) {
    doc.realTimeActive = active;
    return *this;
}

DocumentBuilder& DocumentBuilder::Installed(const std::array<int, kHeadCount>& present) {
    doc.headCount = 0;
    for (int h = 0; h < kHeadCount; ++h) {
        doc.heads[h].available = present[h];
        if (present[h]) ++doc.headCount;
    }
    return *this;
}

DocumentBuilder& DocumentBuilder::SystemInfoReceived(bool received) {
    doc.systemInfoReceived = received ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::DiscoveryMode(bool discovering) {
    doc.discoveryMode = discovering ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::OrientationPresent(bool present) {
    doc.orientationPresent = present ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::Frequency(int head, int hz) {
    doc.heads[head].frequencyHz = hz;
    return *this;
}

DocumentBuilder& DocumentBuilder::Gain(int head, int gainDb) {
    doc.heads[head].gainDb = gainDb;
    return *this;
}

DocumentBuilder& DocumentBuilder::Gains(const std::array<int, kHeadCount>& gainsDb) {
    for (int h = 0; h < kHeadCount; ++h) Gain(h, gainsDb[h]);
    return *this;
}

DocumentBuilder& DocumentBuilder::TransmitOff(int head, std::uint8_t mask) {
    doc.heads[head].transmitOffMask = mask;
    return *this;
}

DocumentBuilder& DocumentBuilder::AcceptedCycleCount(std::int32_t cycles) {
    doc.acceptedCycleCount = cycles;
    return *this;
}

DocumentBuilder& DocumentBuilder::NoData(bool none) {
    doc.noDataFlag = none ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::ThreeFrequencySystem(bool three) {
    doc.threeFrequencySystem = three ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::DisplayChannels(int a, int b) {
    doc.displayChannelA = a;
    doc.displayChannelB = b;
    return *this;
}

DocumentBuilder& DocumentBuilder::CompositeMode(bool composite) {
    doc.images.compositeMode = composite ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::RangeIndex(int index) {
    doc.rangeIndex = index;
    return *this;
}

DocumentBuilder& DocumentBuilder::CompositeRowCounter(std::int32_t rows) {
    doc.images.compositeRowCounter = rows;
    return *this;
}

DocumentBuilder& DocumentBuilder::HeldRowCounter(std::int32_t rows) {
    doc.images.heldRowCounter = rows;
    return *this;
}

DocumentBuilder& DocumentBuilder::HeldByEventDialog(bool held) {
    doc.images.heldByEventDialog = held ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::HeldFlag(bool held) {
    doc.images.held = held ? 1 : 0;
    return *this;
}

DocumentBuilder& DocumentBuilder::SeparatorPending() {
    doc.history.separatorPending = 1;
    return *this;
}

DocumentBuilder& DocumentBuilder::HistoryWriteIndex(std::int32_t index) {
    doc.history.writeIndex = index;
    return *this;
}

DocumentBuilder& DocumentBuilder::EsRange(int metres) {
    doc.esRange = metres;
    return *this;
}

DocumentBuilder& DocumentBuilder::StoringSpeed(double knots) {
    doc.speed.useManualSpeed = 1;
    doc.speed.manualSpeedKnots = knots;
    return *this;
}

DocumentBuilder& DocumentBuilder::Orientation(double altitudeM, double headingDeg) {
    doc.orientation.altitudeM = altitudeM;
    doc.orientation.headingDeg = headingDeg;
    return *this;
}

DocumentBuilder& DocumentBuilder::SlotRemainder(int slot, double remainder) {
    doc.images.slotStates[slot].remainder = remainder;
    return *this;
}

DocumentBuilder& DocumentBuilder::EventMarkerPath(const std::vector<EventMarker>& markers) {
    doc.events.eventMarkerPath = markers;
    return *this;
}

DocumentBuilder& DocumentBuilder::PingInterval(std::int32_t ms) {
    doc.history.pingIntervalMs = ms;
    return *this;
}

DocumentBuilder& DocumentBuilder::Links(const std::array<LinkState, kHeadCount>& states,
                                        int leftOutHead) {
    doc.links.state = states;
    if (leftOutHead >= 0) doc.links.leftOut[leftOutHead] = true;
    return *this;
}

DocumentBuilder& DocumentBuilder::LeftOutOfPolling(int head) {
    doc.polling.leftOut[head] = true;
    return *this;
}

DocumentBuilder& DocumentBuilder::Altitude(double current, double shown) {
    doc.orientation.readings.altitudeM = current;
    doc.orientation.altitudeM = current;
    return AltitudeShown(shown);
}

DocumentBuilder& DocumentBuilder::AltitudeShown(double shown) {
    doc.orientation.altitudeShown = shown;
    return *this;
}
