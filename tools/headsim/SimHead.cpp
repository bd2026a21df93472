#include "SimHead.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "acquisition/HeadReturn.h"
#include "acquisition/SwitchCommand.h"
#include "common/ByteOrder.h"

namespace sim {

namespace {

constexpr const char* kHeaderIds[kHeadCount] = {"SVL", "SVM", "SVH", "SVE"};
constexpr std::uint8_t kWrongKind = 0x33;
constexpr std::uint8_t kFaultyStatus = 0x7C;
// Header bytes the application keeps but does not read: the ping number, range and gain.
constexpr int kHeaderPing = 4;
constexpr int kHeaderRange = 12;
constexpr int kHeaderGain = 14;

std::string Hex(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFF);
    return text;
}

}  // namespace

bool HeadFaults::Any() const {
    return delayMs || splitEvery || shortEvery || longEvery || wrongKindEvery || statusEvery ||
           silentEvery || closeAfter;
}

SimSystemInfo SystemInfoOf(const Installation& installation) {
    SimSystemInfo info;
    info.serialNumber = installation.serialNumber;
    // The orientation sensor sits on the echo sounder: without that head there is none.
    const bool orientation = installation.orientation && installation.present[kHeadES];
    info.presence = orientation ? 0x10 : 0;
    for (int h = 0; h < kHeadCount; ++h) {
        if (!installation.present[h]) continue;
        const HeadModel& model = ModelOf(h);
        info.presence |= static_cast<std::uint8_t>(1 << h);
        info.heads[h] = {model.frequencyKHz, model.lowestKHz, model.highestKHz,
                         installation.addresses[h]};
    }
    return info;
}

int TravelTimeMs(int rangeM) {
    return static_cast<int>(std::lround(2.0 * rangeM / 1500.0 * 1000.0));
}

std::string DescribeRequest(int head, const std::uint8_t* r, int receivedLength) {
    using namespace switchcmd;
    std::string line = std::string(HeadLabel(head)) + " cmd " + Hex(r[kCommand]) + " half " +
                       Hex(r[kHalfSelect]) + " range " + std::to_string(GetLe16(r + kRange)) +
                       " gain " + std::to_string(r[kGain]);
    const std::uint8_t kind = head == kHeadES ? kEchoSounderKind : 0;
    std::string deviations;
    auto deviation = [&](const std::string& text) { deviations += " " + text + ";"; };
    if (receivedLength != kRequestLength) {
        deviation("arrived in a piece of " + std::to_string(receivedLength) + " bytes");
    }
    if (r[kStart] != kStartByte) deviation("start byte " + Hex(r[kStart]));
    if (r[kEnd] != kEndByte) deviation("end byte " + Hex(r[kEnd]));
    if (r[kHeadKind] != kind) deviation("kind byte at 15 " + Hex(r[kHeadKind]));
    if (r[kConstant50] != 0x10) deviation("byte 50 " + Hex(r[kConstant50]));
    if (r[kConstant52] != 1) deviation("byte 52 " + Hex(r[kConstant52]));
    if (r[kCommand] != kDataRequest && r[kCommand] != kSystemInfoRequest) {
        deviation("unknown command");
    }
    if (!deviations.empty()) line += " DEVIATES:" + deviations;
    return line;
}

SimHead::SimHead(int headIndex, const Installation& installation, const Scene& sceneRef,
                 HeadFaults headFaults, bool fastReplies)
    : head(headIndex),
      systemInfoReply(BuildSystemInfoReply(SystemInfoOf(installation))),
      scene(sceneRef),
      faults(headFaults),
      fast(fastReplies) {}

std::vector<HeadResponse> SimHead::Receive(SimConnection& connection, const std::uint8_t* data,
                                           int length) {
    std::vector<HeadResponse> responses;
    if (length <= 0) return responses;
    // Bytes already waiting belong to a request that began in an earlier receive.
    std::size_t earlier = connection.pending.size();
    connection.pending.insert(connection.pending.end(), data, data + length);
    while (connection.pending.size() >= kRequestLength) {
        const int piece = earlier > 0 ? connection.startPiece : length;
        responses.push_back(Answer(connection, connection.pending.data(), piece));
        connection.pending.erase(connection.pending.begin(),
                                 connection.pending.begin() + kRequestLength);
        earlier = earlier > kRequestLength ? earlier - kRequestLength : 0;
    }
    if (!connection.pending.empty() && earlier == 0) connection.startPiece = length;
    return responses;
}

HeadResponse SimHead::Answer(SimConnection& connection, const std::uint8_t* request,
                             int receivedLength) {
    ++requestCount;
    HeadResponse response;
    response.log = DescribeRequest(head, request, receivedLength);
    const std::uint8_t command = request[switchcmd::kCommand];
    if (command != switchcmd::kDataRequest && command != switchcmd::kSystemInfoRequest) {
        return response;  // a head ignores what it does not understand
    }
    if (Hits(faults.silentEvery)) {
        response.log += " (not answered)";
        return response;
    }
    std::vector<std::uint8_t> reply;
    int delayMs = faults.delayMs;
    if (command == switchcmd::kSystemInfoRequest) {
        reply = systemInfoReply;
    } else {
        reply = DataReply(request);
        if (!fast) delayMs += TravelTimeMs(GetLe16(request + switchcmd::kRange));
    }
    if (Hits(faults.splitEvery)) {
        const auto cut = reply.begin() + static_cast<std::ptrdiff_t>(reply.size() / 2);
        response.segments.push_back({delayMs, {reply.begin(), cut}});
        response.segments.push_back({faults.splitPauseMs, {cut, reply.end()}});
    } else {
        response.segments.push_back({delayMs, std::move(reply)});
    }
    ++connection.repliesSent;
    response.close = faults.closeAfter > 0 && connection.repliesSent >= faults.closeAfter;
    return response;
}

std::vector<std::uint8_t> SimHead::DataReply(const std::uint8_t* request) {
    const std::uint8_t half = request[switchcmd::kHalfSelect];
    if (half == switchcmd::kFirstHalf) ++ping;
    SceneRequest sceneRequest;
    sceneRequest.rangeM = GetLe16(request + switchcmd::kRange);
    sceneRequest.gainDb = request[switchcmd::kGain];
    sceneRequest.transmitOffMask = request[switchcmd::kTransmitOff];
    std::uint8_t samples[kSamples];
    if (head == kHeadES) {
        if (half == switchcmd::kSecondHalf) {
            scene.OrientationBlock(ping, samples);
        } else {
            scene.EchoSounder(ping, sceneRequest, samples);
        }
    } else {
        scene.SideScan(head, half == switchcmd::kSecondHalf ? 1 : 0, ping, sceneRequest, samples);
    }
    std::uint8_t status = 0;
    std::uint8_t kind = half;
    if (Hits(faults.statusEvery)) status = kFaultyStatus;
    if (Hits(faults.wrongKindEvery)) kind = kWrongKind;
    auto reply = BuildDataReply(kHeaderIds[head], status, kind, samples);
    PutLe32(reply.data() + kHeaderPing, ping);
    PutLe16(reply.data() + kHeaderRange, static_cast<std::uint16_t>(sceneRequest.rangeM));
    reply[kHeaderGain] = static_cast<std::uint8_t>(sceneRequest.gainDb);
    if (Hits(faults.shortEvery)) reply.resize(kReplyDataLength);
    if (Hits(faults.longEvery)) reply.push_back(0xEE);
    return reply;
}

}  // namespace sim
