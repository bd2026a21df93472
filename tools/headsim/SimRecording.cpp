#include "SimRecording.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "SimGps.h"
#include "SimScene.h"
#include "VesselPath.h"
#include "acquisition/HeadTable.h"
#include "datafiles/RecordCodec.h"
#include "gps/CycleTime.h"

namespace sim {

namespace {

struct FileClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The batch as the receiver framed it: one sentence a slot, "\r" kept, "\n" dropped.
void SplitBatch(const std::string& batch, std::array<std::string, svx::kGpsSlotCount>& slots) {
    for (auto& slot : slots) slot.clear();
    std::size_t start = 0, k = 0;
    while (start < batch.size() && k < slots.size()) {
        std::size_t end = batch.find('\n', start);
        if (end == std::string::npos) end = batch.size();
        slots[k++] = batch.substr(start, end - start);
        start = end + 1;
    }
}

struct Texts {
    char date[24], time[24], millis[16];
};

Texts TextsOf(const RecordingPlan& plan, double utc) {
    Texts t{};
    const double day = std::fmod(utc, 86400.0);
    const int whole = static_cast<int>(day);
    std::snprintf(t.date, sizeof t.date, "%02d-%s-%04d", plan.day % 100,
                  MonthAbbreviation(plan.month), plan.year % 10000);
    std::snprintf(t.time, sizeof t.time, "%02d:%02d:%02d", whole / 3600 % 24, whole / 60 % 60,
                  whole % 60);
    std::snprintf(t.millis, sizeof t.millis, "%03d",
                  static_cast<int>(std::lround((day - whole) * 1000)) % 1000);
    return t;
}

class Recorder {
public:
    explicit Recorder(const RecordingPlan& plan)
        : plan(plan), path(plan.path ? plan.path : DefaultPath()) {
        scene.UsePath(path);
    }

    const std::uint8_t* Encode(int k, std::size_t& length) {
        const double t = k * plan.pingIntervalS;
        const std::uint32_t ping = static_cast<std::uint32_t>(k + 1);
        const Pose pose = PoseOn(*path, t, plan.speedKnots);
        svx::CycleSource cycle;
        cycle.pingNumber = ping;
        const Texts texts = TextsOf(plan, plan.startUtcS + t);
        cycle.date = texts.date;
        cycle.time = texts.time;
        cycle.millis = texts.millis;
        SceneRequest request;
        request.rangeM = plan.rangeM;
        for (int h = 0; h < kHeadCount; ++h) {
            if (!plan.heads[h]) continue;
            ++cycle.headsInSystem;
            Fill(h, ping, pose, request, cycle.heads[h]);
        }
        cycle.orientationPresent = plan.heads[kHeadES];
        cycle.pingIntervalMs = static_cast<std::uint16_t>(std::lround(plan.pingIntervalS * 1000));
        if (plan.gps) {
            const double second = std::floor(t);  // the latest once-a-second batch
            SplitBatch(NmeaBatch(path->At(second, plan.speedKnots), plan.startUtcS + second,
                                 plan.day, plan.month, plan.year, "GP"),
                       sentences);
        } else {
            for (auto& slot : sentences) slot.clear();
        }
        cycle.sentences = &sentences;
        length = svx::EncodeRecord(cycle, buffer.data()).length;
        return buffer.data();
    }

private:
    void Fill(int h, std::uint32_t ping, const Pose& pose, const SceneRequest& request,
              svx::HeadSource& head) {
        std::uint8_t* line = lines[static_cast<std::size_t>(h)].data();
        std::uint8_t half[kSamples];
        if (h == kHeadES) {
            scene.EchoSounder(ping, request, line);
            scene.OrientationBlock(ping, line + kSamples);
        } else {
            scene.SideScanAt(h, 0, ping, pose, request, half);
            std::reverse_copy(half, half + kSamples, line);  // port stored far range first
            scene.SideScanAt(h, 1, ping, pose, request, line + kSamples);
        }
        head.present = true;
        head.frequencyHz = static_cast<std::uint32_t>(ModelOf(h).frequencyKHz * 1000);
        head.range = static_cast<std::uint16_t>(request.rangeM);
        head.gainDb = static_cast<std::uint8_t>(request.gainDb);
        head.command = zeros.data();
        head.replyHeader = zeros.data();
        head.line = line;
    }

    const RecordingPlan& plan;
    std::shared_ptr<const VesselPath> path;
    Scene scene;
    std::array<std::array<std::uint8_t, 2 * kSamples>, kHeadCount> lines{};
    std::array<std::uint8_t, 128> zeros{};
    std::array<std::string, svx::kGpsSlotCount> sentences;
    std::array<std::uint8_t, svx::kMaxRecordLength> buffer{};
};

}  // namespace

bool WriteSimulatedRecording(const std::string& path, const RecordingPlan& plan,
                             std::string& error) {
    const std::unique_ptr<std::FILE, FileClose> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    auto recorder = std::make_unique<Recorder>(plan);
    for (int k = 0; k < plan.records; ++k) {
        std::size_t length = 0;
        const std::uint8_t* record = recorder->Encode(k, length);
        if (std::fwrite(record, 1, length, file.get()) != length) {
            error = "cannot write " + path + ": " + std::strerror(errno);
            return false;
        }
    }
    if (std::fflush(file.get()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace sim
