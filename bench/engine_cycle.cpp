// The engine's own cost per polling cycle of four heads, without any network: sockets in
// memory, replies prepared in advance. One iteration is one whole cycle: eight requests, eight
// replies reassembled, classified and stored, and the cycle validated.

#include <benchmark/benchmark.h>

#include <deque>
#include <utility>

#include "SimReplies.h"
#include "document/CVantrelDoc.h"

namespace {

class MemorySocket;

// Records which head was sent which half; the benchmark answers from its prepared replies.
class MemoryPlatform : public Platform {
public:
    void SetTimerListener(TimerListener*) override {}
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    std::unique_ptr<CSCSocket> CreateHeadSocket(int head, HeadSocketListener*) override;
    void MessageBox(const std::string&) override {}
    bool YesNoBox(const std::string&) override { return false; }
    bool ConnectDialog(std::string&) override { return true; }
    std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    LocalTime Now() override { return {}; }
    std::uint32_t TickCountMs() override { return 0; }
    void PlaySound(const std::string&) override {}

    std::deque<std::pair<int, int>> requests;  // (head, half select)
    MemorySocket* sockets[kHeadCount] = {};
};

class MemorySocket : public CSCSocket {
public:
    MemorySocket(MemoryPlatform& p, int h) : platform(p), head(h) {}
    int Connect(const std::string&, int) override { return kWouldBlock; }
    void Close() override { length = 0; }
    int Send(const std::uint8_t* data, int n) override {
        platform.requests.emplace_back(head, data[10]);
        return n;
    }
    int Receive(std::uint8_t* buffer, int maxLength) override {
        const int n = std::min(maxLength, length);
        std::copy(inbox, inbox + n, buffer);
        length = 0;
        return n;
    }
    void Put(const std::vector<std::uint8_t>& reply) {
        std::copy(reply.begin(), reply.end(), inbox);
        length = static_cast<int>(reply.size());
    }

private:
    MemoryPlatform& platform;
    int head;
    std::uint8_t inbox[kDataReplyLength];
    int length = 0;
};

std::unique_ptr<CSCSocket> MemoryPlatform::CreateHeadSocket(int head, HeadSocketListener*) {
    auto socket = std::make_unique<MemorySocket>(*this, head);
    sockets[head] = socket.get();
    return socket;
}

void BM_EngineCycleOfFourHeads(benchmark::State& state) {
    MemoryPlatform platform;
    CVantrelDoc doc(platform);
    std::vector<std::uint8_t> replies[kHeadCount][2];
    std::vector<std::uint8_t> samples(kReplyDataLength);
    for (int h = 0; h < kHeadCount; ++h) {
        for (int i = 0; i < kReplyDataLength; ++i)
            samples[i] = static_cast<std::uint8_t>(i * 7 + h);
        replies[h][0] = sim::BuildDataReply("SVX", 0, 0x00, samples.data());
        replies[h][1] = sim::BuildDataReply("SVX", 0, 0x10, samples.data());
    }
    // Straight into polling: installation known, all four heads connected.
    doc.discoveryMode = 0;
    doc.realTimeActive = true;
    doc.ConnectAll();
    for (int h = 0; h < kHeadCount; ++h) doc.OnConnect(h, 0);
    for (auto _ : state) {
        const int before = doc.acceptedCycleCount;
        while (doc.acceptedCycleCount == before) {
            const auto [head, half] = platform.requests.front();
            platform.requests.pop_front();
            platform.sockets[head]->Put(replies[head][half == 0x10 ? 1 : 0]);
            doc.OnReceive(head, 0);
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["rebuilds"] = doc.rebuildCount;
}
BENCHMARK(BM_EngineCycleOfFourHeads);

}  // namespace

BENCHMARK_MAIN();
