#pragma once
// Settings of the main window and the views that live in the settings file: bar visibility,
// grids, the marker text size and the window layout.

#include <cstdint>

#include "shell/WindowLayout.h"

struct DisplaySettings {
    std::int32_t toolBarVisible = 1;
    std::int32_t statusBarVisible = 1;
    std::int32_t playbackBarVisible = 1;
    std::int32_t showGrid = 1;
    std::int32_t showEsGrid = 1;
    std::int32_t markerTextSize = 14;
    WindowLayout layout = DefaultWindowLayout();
};
