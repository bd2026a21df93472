#pragma once
// A document on the fake platform, a temporary directory, an observer that keeps what the
// document told the windows, and helpers that make data files record by record.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/ByteOrder.h"
#include "datafiles/DataRecordFormat.h"
#include "document/CVantrelDoc.h"
#include "support/DocumentBuilder.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

class NotedObserver : public DocumentObserver {
public:
    void WindowTextChanged(const std::string& text) override { windowTexts.push_back(text); }
    void PlaybackBarReset(int speed) override { barResets.push_back(speed); }
    void PlaybackSliderMoved(int position) override { sliderPositions.push_back(position); }
    void PlaySpeedChanged(int speed) override { playSpeeds.push_back(speed); }
    void AddRecentFile(const std::string& path) override { recentFiles.push_back(path); }
    void PlaybackMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> windowTexts;
    std::vector<int> barResets;
    std::vector<int> sliderPositions;
    std::vector<int> playSpeeds;
    std::vector<std::string> recentFiles;
    std::vector<std::string> messages;
};

class DataFilesFixture : public ::testing::Test {
protected:
    DataFilesFixture() : doc(platform) {
        doc.SetObserver(&observer);
        DocumentBuilder(doc).FileSystem(kRealFileSystem);
    }

    // Every head available, a known clock, random echo lines and distinct head values.
    void MakeFourHeadState(bool systemInfo = true) {
        DocumentBuilder build(doc);
        build.Installed({1, 1, 1, 1}).SystemInfoReceived(systemInfo);
        for (int h = 0; h < kHeadCount; ++h) {
            build.Frequency(h, 100000 + 1000 * h).Gain(h, 10 + h);
            build.TransmitOff(h, static_cast<std::uint8_t>(h & 3));
            HeadEntry& head = doc.heads[h];
            for (auto& b : head.command) b = static_cast<std::uint8_t>(rng());
            for (auto& b : head.replyHeader) b = static_cast<std::uint8_t>(rng());
            head.replyHeader[3] = 0;  // a status the cycle validation accepts
            for (auto& b : head.line) b = static_cast<std::uint8_t>(rng());
        }
        for (auto& b : doc.systemInfo) b = static_cast<std::uint8_t>(rng());
        std::memcpy(doc.systemInfo.data() + 10, "SN1234", 6);
        LocalTime t;
        t.year = 2025, t.month = 7, t.day = 3, t.hour = 14, t.minute = 5, t.second = 9;
        t.millisecond = 7;
        doc.cycleTime.Stamp(t);
    }

    // Puts the bytes in a file and opens it as the reader's playback file at offset 0.
    void OpenForReading(CVantrelDoc& reader, const std::vector<std::uint8_t>& bytes) {
        const std::string path = WriteFile("read.svx", bytes);
        ASSERT_TRUE(reader.playback.playbackFile.Open(path, DataFile::Mode::Read));
        DocumentBuilder(reader).PlaybackFlag(true).PlayedFile(bytes.size(), 0);
    }

    // Assembles the record of the current document state.
    std::vector<std::uint8_t> BuildRecord() {
        std::vector<std::uint8_t> record(svx::kMaxRecordLength);
        record.resize(static_cast<std::size_t>(doc.readWriteFiles.BuildRecord(record.data())));
        return record;
    }

    // A file of `count` records of the current state with ping numbers first.. and ranges
    // from rangeOf(i).
    std::vector<std::uint8_t> MakeFile(int count, int first = 1, int (*rangeOf)(int) = nullptr) {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < count; ++i) {
            DocumentBuilder(doc).PingNumber(first + i);
            if (rangeOf) DocumentBuilder(doc).Range(rangeOf(i));
            for (auto& head : doc.heads) head.line.fill(static_cast<std::uint8_t>(i));
            const auto record = BuildRecord();
            bytes.insert(bytes.end(), record.begin(), record.end());
        }
        return bytes;
    }

    // Records of three heads (no echo sounder) and no system information, pings first..,
    // ranges from rangeOf(i); the document's range is 50 m afterwards.
    std::vector<std::uint8_t> ThreeHeadBytes(int count, int first = 1,
                                             int (*rangeOf)(int) = nullptr) {
        MakeFourHeadState(false);
        DocumentBuilder(doc).Installed({1, 1, 1, 0});
        auto bytes = MakeFile(count, first, rangeOf);
        DocumentBuilder(doc).Range(50);
        return bytes;
    }

    std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = dir.File(name);
        TempDir::WriteBytes(path, bytes);
        return path;
    }

    // Opens a file for playback and lets the start delay pass.
    void StartPlayback(const std::string& path) {
        ASSERT_TRUE(doc.OpenPlaybackFile(path));
        platform.FireTimer(1010);
        ASSERT_TRUE(platform.TimerRunning(1030));
    }

    FakePlatform platform;
    NotedObserver observer;
    CVantrelDoc doc;
    TempDir dir;
    std::mt19937 rng{2024};
};
