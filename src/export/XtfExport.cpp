#include "export/XtfExport.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <vector>

#include "acquisition/HeadTable.h"
#include "export/OutputFile.h"
#include "export/PingNavigation.h"
#include "export/XtfFormat.h"
#include "gps/GpsGaps.h"

namespace svx {

namespace {

constexpr std::uint32_t kChannelSamples = 1000;

// The side-scan heads of the first record, and the values of each head last seen (a head
// missing from a later record keeps its channels, with zero samples).
struct ChannelPlan {
    std::vector<int> heads;
    std::array<xtf::ChannelData, 3> lastSeen{};
};

std::string ChannelName(bool starboard, float kHz) {
    return std::string(starboard ? "Stbd " : "Port ") +
           std::to_string(static_cast<int>(std::lround(kHz))) + "kHz";
}

xtf::FileHeader HeaderFor(const RecordView& first, const ChannelPlan& plan,
                          const std::string& output) {
    xtf::FileHeader header;
    header.sonarName = "Sonvara";
    header.note = "side-scan export";
    header.fileName = std::filesystem::path(output).filename().string();
    for (int head : plan.heads) {
        const float kHz = static_cast<float>(first.Frequency(head)) / 1000.0f;
        for (bool starboard : {false, true}) {
            header.channels.push_back(
                {starboard, ChannelName(starboard, kHz), kHz, kChannelSamples});
        }
    }
    return header;
}

xtf::PingHeader PingHeaderOf(const PingNavigation& nav) {
    xtf::PingHeader p;
    p.year = nav.clock.year;
    p.month = nav.clock.month;
    p.day = nav.clock.day;
    p.hour = nav.clock.hour;
    p.minute = nav.clock.minute;
    p.second = nav.clock.second;
    p.hundredths = nav.clock.millis / 10;
    p.julianDay = nav.clock.DayOfYear();
    p.pingNumber = nav.ping;
    p.shipSpeedKnots = static_cast<float>(nav.speedKnots);
    p.shipGyro = static_cast<float>(nav.ShipHeading());
    p.latitude = nav.latitude;
    p.longitude = nav.longitude;
    if (nav.fixSecondOfDay) {
        p.fixHour = *nav.fixSecondOfDay / 3600;
        p.fixMinute = *nav.fixSecondOfDay / 60 % 60;
        p.fixSecond = *nav.fixSecondOfDay % 60;
        p.fixHundredths = nav.fixHundredths;
    }
    if (nav.attitude) {
        p.waterTemperature = static_cast<float>(nav.attitude->temperatureC);
        p.sensorDepth = static_cast<float>(nav.attitude->depthM);
        p.pitch = static_cast<float>(nav.attitude->pitchDeg);
        p.roll = static_cast<float>(nav.attitude->rollDeg);
        p.heading = static_cast<float>(nav.attitude->headingDeg);
    }
    if (nav.altitudeM) p.altitude = static_cast<float>(*nav.altitudeM);
    return p;
}

class XtfWriter {
public:
    XtfWriter(OutputFile& file, const std::string& output) : file(file), output(output) {}

    bool Add(const RecordView& record, ExportReport& report) {
        if (!plan) Start(record, report);
        if (!report.error.empty()) return false;
        const PingNavigation nav = navigation.Decode(record);
        if (!nav.newFix) ++report.withoutFix;
        gaps.Add(nav.ping, nav.gpsSentences);
        if (nav.event) lastEvent = static_cast<std::uint32_t>(*nav.event);
        xtf::PingHeader ping = PingHeaderOf(nav);
        ping.eventNumber = lastEvent;
        FillChannels(record, nav);
        xtf::EncodePacket(ping, channels, packet);
        if (!file.Write(packet.data(), packet.size(), report.error)) return false;
        ++report.records;
        return true;
    }

    const GpsGaps& Gaps() const { return gaps; }

private:
    void Start(const RecordView& first, ExportReport& report) {
        plan.emplace();
        for (int head = kHeadL; head <= kHeadH; ++head) {
            if (first.Layout().HasHead(head)) plan->heads.push_back(head);
        }
        std::array<std::uint8_t, xtf::kFileHeaderLength> header{};
        xtf::EncodeFileHeader(HeaderFor(first, *plan, output), header.data());
        file.Write(header.data(), header.size(), report.error);
    }

    void FillChannels(const RecordView& record, const PingNavigation& nav) {
        channels.clear();
        const float secondsPerPing = static_cast<float>(nav.pingIntervalMs / 1000.0);
        std::uint16_t number = 0;
        for (int head : plan->heads) {
            xtf::ChannelData& base = plan->lastSeen[static_cast<std::size_t>(head)];
            base.samples = nullptr;
            base.count = kChannelSamples;
            base.secondsPerPing = secondsPerPing;
            if (record.Layout().HasHead(head)) {
                base.slantRange = record.Range(head);
                base.frequencyKHz = static_cast<std::uint16_t>(record.Frequency(head) / 1000);
                base.gain = record.Gain(head);
                base.samples = record.Line(head);
            }
            // The line holds the port half far range first, then the starboard half nearest
            // first: XTF's order for the two channels, so both halves go out as they lie.
            xtf::ChannelData port = base, starboard = base;
            port.number = number++;
            starboard.number = number++;
            if (base.samples) starboard.samples = base.samples + kChannelSamples;
            channels.push_back(port);
            channels.push_back(starboard);
        }
    }

    OutputFile& file;
    const std::string& output;
    std::optional<ChannelPlan> plan;
    NavigationDecoder navigation;
    std::uint32_t lastEvent = 0;
    std::vector<xtf::ChannelData> channels;
    std::vector<std::uint8_t> packet;
    GpsGaps gaps;
};

}  // namespace

ExportReport ExportXtf(const std::string& input, const std::string& output,
                       const ExportProgress& progress) {
    ExportReport report;
    report.error = SameFileProblem(input, output);
    if (!report.error.empty()) return report;
    OutputFile file;
    if (!file.Open(output, report.error)) return report;
    XtfWriter writer(file, output);
    const bool read = WalkDataFile(
        input, [&](std::uint64_t, const RecordView& record) { return writer.Add(record, report); },
        progress, report);
    if (!read || !report.error.empty() || report.cancelled) return report;
    if (report.records == 0) {
        report.error = input + " holds no record";
        return report;
    }
    if (file.Commit(report.error)) {
        if (const std::string gaps = writer.Gaps().Note(); !gaps.empty()) {
            report.notes.push_back(gaps);
        }
    }
    return report;
}

}  // namespace svx
