#pragma once
// The members of the ".svx" format that the writer, the reader and the playback share: the
// layout of the last record, the playback position, the event marks and the settings-change
// alarm.

#include <cstdint>

#include "datafiles/DataFile.h"
#include "datafiles/RecordCodec.h"

struct DataFileState {
    // Length of the last record written or read, and the offsets of its GPS block and of its
    // system-information block (0 when absent).
    std::int32_t recordLength = 0;
    std::int32_t gpsBlockOffset = 0;
    std::int32_t systemInfoOffset = 0;
    // The last record built was left without GPS sentences because those at hand were older
    // than the GPS threshold.
    bool gpsBlockLeftEmpty = false;
    std::int32_t samplesPerHalf = 1000;
    // Byte offset of the next record to read, and the length of the playback file when it was
    // opened.
    std::uint64_t playbackPosition = 0;
    std::uint64_t playbackFileLength = 0;
    // What the reader found wrong with the last record it could not read.
    svx::RecordDamage lastDamage = svx::RecordDamage::None;
    // Ping number of the first record read after opening; captureFirstPing asks for it.
    std::int64_t firstPingNumber = 0;
    std::int32_t captureFirstPing = 0;
    // Interval written into records: the measured interval in real time, the recorded one in
    // playback.
    std::int32_t recordedPingIntervalMs = 0;
    // Writer side of the event mark: the next record written carries eventMarkNumber.
    std::int32_t eventMarkPending = 0;
    std::int32_t eventMarkNumber = 0;
    // Reader side: the mark of the record just read.
    std::int32_t playbackEventNumber = 0;
    std::int32_t playbackEventFlag = 0;
    // 0 off, 1 on; the reader raises it to 2 when a record changes the range, and the
    // playback rings once and lowers it again.
    std::int32_t settingsChangeAlarm = 0;
    // The file system as the recorder and the playback see it (replaced in tests).
    FileSystemAccess fileSystem = kRealFileSystem;
};
