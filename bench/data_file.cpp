// Cost of writing one data-file record, of playing one record back headless through the
// reader and StoreCycle with the composite and two channel images being drawn, and of
// indexing a whole file. Figures in docs/performance.md.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "../fuzz/support/NullPlatform.h"
#include "datafiles/RecordIndex.h"
#include "document/CVantrelDoc.h"

namespace {

constexpr int kRecords = 4000;

// Four heads with system information (11072-byte records), random echo lines, a cycle time
// and ten NMEA sentences.
void FourHeadState(CVantrelDoc& doc, unsigned seed) {
    std::mt19937 rng(seed);
    for (int h = 0; h < kHeadCount; ++h) {
        doc.heads[h].available = 1;
        for (auto& sample : doc.heads[h].line) sample = static_cast<std::uint8_t>(rng());
    }
    doc.headCount = kHeadCount;
    doc.systemInfoReceived = 1;
    LocalTime t;
    t.year = 2025, t.month = 7, t.day = 3, t.hour = 14, t.minute = 5, t.second = 9;
    doc.cycleTime.Stamp(t);
    for (std::size_t i = 0; i < 10; ++i) {
        doc.gps.recentSentences[i] =
            "$GPRMC,140509.00,A,4807.038,N,01131.000,E,5.5,54.7,030725,,*" + std::to_string(i);
    }
    // As the read that brought them counts: they are current and go into every record.
    ++doc.gps.sentenceBatches;
}

std::string BenchFile(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string(name) + "-" + std::to_string(getpid()) + ".svx"))
        .string();
}

// A 4000-record four-head file (44 MB) written through the recorder.
void WriteFourHeadFile(const std::string& path) {
    NullPlatform platform;
    CVantrelDoc writer(platform);
    writer.recording.dataFile.Open(path, DataFile::Mode::CreateWrite);
    for (int i = 0; i < kRecords; ++i) {
        FourHeadState(writer, static_cast<unsigned>(i % 16));
        writer.recording.pingNumber = i + 1;
        writer.readWriteFiles.WriteRecord();
    }
}

// One record appended to a data file on disk (the file restarts every 4000 records).
void BM_WriteRecord(benchmark::State& state) {
    NullPlatform platform;
    CVantrelDoc doc(platform);
    FourHeadState(doc, 1);
    const std::string path = BenchFile("bench-write");
    doc.recording.dataFile.Open(path, DataFile::Mode::CreateWrite);
    int written = 0;
    for (auto _ : state) {
        if (++written == kRecords) {
            state.PauseTiming();
            doc.recording.dataFile.Truncate(0);
            doc.recording.dataFile.Seek(0);
            written = 0;
            state.ResumeTiming();
        }
        ++doc.recording.pingNumber;
        benchmark::DoNotOptimize(doc.readWriteFiles.WriteRecord());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * doc.files.recordLength);
    doc.recording.dataFile.Close();
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteRecord)->Unit(benchmark::kMicrosecond);

// One record of a 4000-record four-head file read and stored, with the composite (width x
// 2000 rows) and two channel images drawn; the file plays in a loop.
void BM_PlayRecord(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const std::string path = BenchFile("bench-play");
    WriteFourHeadFile(path);
    NullPlatform platform;
    CVantrelDoc doc(platform);
    std::int32_t changed = 1;
    doc.images.compositeMode = 1;
    doc.SizeCompositeImage(kZoomFillScreen, width, changed);
    for (const int channel : {kHeadL, kHeadH}) {
        changed = 1;
        doc.SizeChannelImage(channel, kZoomFillScreen, width, changed);
    }
    doc.playback.playbackFile.Open(path, DataFile::Mode::Read);
    doc.playbackMode = 1;
    doc.files.playbackFileLength = doc.playback.playbackFile.Length();
    for (auto _ : state) {
        if (doc.files.playbackPosition >= doc.files.playbackFileLength) {
            doc.files.playbackPosition = 0;
        }
        if (doc.PlayNextRecord() != RecordRead::Record) state.SkipWithError("record not read");
    }
    state.SetItemsProcessed(state.iterations());
    doc.playback.playbackFile.Close();
    std::filesystem::remove(path);
}
BENCHMARK(BM_PlayRecord)->Arg(1000)->Arg(2000)->Unit(benchmark::kMicrosecond);

// The record index of a whole 4000-record four-head file (in the page cache): every record
// decoded, as the playback builds it. Items are records.
void BM_IndexRecords(benchmark::State& state) {
    const std::string path = BenchFile("bench-index");
    WriteFourHeadFile(path);
    DataFile file;
    file.Open(path, DataFile::Mode::Read);
    for (auto _ : state) {
        svx::FileBytes bytes(file, file.Length());
        const svx::RecordIndex index = svx::IndexRecords(bytes);
        if (index.Records().size() != kRecords || index.Damaged()) {
            state.SkipWithError("index incomplete");
        }
        benchmark::DoNotOptimize(index.Records().data());
    }
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.Length()));
    file.Close();
    std::filesystem::remove(path);
}
BENCHMARK(BM_IndexRecords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
