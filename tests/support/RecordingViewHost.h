#pragma once
// A ViewHost for tests: remembers what the views told the main window.

#include <string>
#include <vector>

#include "shell/ViewHost.h"

class RecordingViewHost : public ViewHost {
public:
    void ShowRowStamp(const RowInfo& row, const std::string& date) override {
        rowTimes.emplace_back(row.Time());
        pingNumbers.push_back(row.pingNumber);
        dateText = date;
    }
    void ShowPointerRange(double metres, bool starboard) override {
        ++pointerRangeCount;
        pointerRange = metres;
        pointerStarboard = starboard;
    }
    void ShowZoom(int percent) override { zooms.push_back(percent); }
    void RefreshIndicators() override { ++refreshCount; }
    void UpdateAllViews() override { ++updateAllCount; }
    void ViewClosed() override { ++closedCount; }
    void BeginNewEvent(int row, int x) override { eventRequests.push_back({row, x}); }

    std::vector<std::string> rowTimes;
    std::vector<int> pingNumbers;
    std::string dateText;
    int pointerRangeCount = 0;
    double pointerRange = -1.0;
    bool pointerStarboard = false;
    std::vector<int> zooms;
    int refreshCount = 0;
    int updateAllCount = 0;
    int closedCount = 0;
    struct EventRequest {
        int row;
        int x;
    };
    std::vector<EventRequest> eventRequests;
};
