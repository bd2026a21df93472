#pragma once
// Recordings of the simulator for the export tests, and the records of a data file read back.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SimRecording.h"
#include "datafiles/RecordIndex.h"
#include "support/TempDir.h"

inline std::string Recording(const TempDir& dir, const std::string& name,
                             const sim::RecordingPlan& plan) {
    const std::string path = dir.File(name);
    std::string error;
    EXPECT_TRUE(sim::WriteSimulatedRecording(path, plan, error)) << error;
    return path;
}

// Every record of a file as its bytes, in order.
inline std::vector<std::vector<std::uint8_t>> RecordsOf(const std::string& path) {
    const std::vector<std::uint8_t> bytes = TempDir::ReadBytes(path);
    svx::MemoryBytes source(bytes.data(), bytes.size());
    std::vector<std::vector<std::uint8_t>> records;
    svx::WalkRecords(source, {},
                     [&](std::uint64_t offset, const svx::RecordView& record) {
                         records.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                              bytes.begin() + static_cast<std::ptrdiff_t>(
                                                                  offset + record.Layout().length));
                         return true;
                     },
                     {});
    return records;
}
