#pragma once
// The playback engine's state: the file being played, the playback bar's model and the
// settings that belong to playback.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "datafiles/DataFile.h"
#include "datafiles/RecordIndex.h"
#include "datafiles/XtfReader.h"

inline constexpr int kPlaySpeedMax = 20;
inline constexpr int kPlaySpeedDefault = 5;
// The playback bar's slider runs over 0..100 of the file.
inline constexpr int kSliderMax = 100;
inline constexpr int kSliderPage = 10;
inline constexpr int kSliderTickStep = 10;
// Files shorter than this hold no record worth playing.
inline constexpr std::uint64_t kMinPlaybackFileLength = 1000;
inline constexpr int kPlaybackStartDelayMs = 1000;
inline constexpr int kPlaybackResumeDelayMs = 100;

// The play-speed rule: (10 - speed) x 10 ms for speeds 0..9, 0 ms (the platform's shortest
// interval) for 10..20. Speeds outside 0..20 count as the nearest end.
int PlaybackPeriodForSpeed(int playSpeed);

// Where "ding.wav" is found: beside the program, in an "assets" folder beside it, or in the
// source tree's assets folder; the bare name when none of them holds it.
std::string FindAlarmSound();

struct PlaybackState {
    DataFile playbackFile;
    // Full path of the file being played; empty when the playback files are closed.
    std::string playbackPath;
    // Directory of the last played file, ending with "/" ("Read File Dir:"), and the open
    // dialog's filter index ("Read Filter Index").
    std::string readFileDir;
    std::int32_t readFilterIndex = 1;
    // "Playback Speed" 0..20 and the playback timer's period from the play-speed rule.
    std::int32_t playSpeed = kPlaySpeedDefault;
    std::int32_t playbackPeriodMs = PlaybackPeriodForSpeed(kPlaySpeedDefault);
    // The playback bar: slider position last shown, the user is dragging it, bytes per slider
    // unit, and the byte position chosen by the last release.
    std::int64_t lastSliderPos = 0;
    std::int32_t sliderHeld = 0;
    std::uint64_t sliderStep = 0;
    std::uint64_t sliderTarget = 0;
    // The records of the file being played, built when first asked for (PlaybackIndex()).
    svx::RecordIndex index;
    bool indexBuilt = false;
    // The damaged stretches stepped over since the file was opened, in the order met; each
    // one is told to the operator once.
    std::vector<svx::DamagedStretch> skipped;
    // The damaged stretches of an XTF file being played, found when it was opened (its
    // packets are walked whole then).
    std::vector<xtf::DamagedStretch> xtfDamage;
    // The heads held by any record played since the file was opened. A recording made while
    // a head was left out of polling lacks it in some records: the windows go on showing it
    // (without data) instead of changing to the layout of an installation without it.
    std::array<bool, 4> headsSeen{};
    // The sound played when a played record changes the range and the alarm is on.
    std::string alarmSoundPath = FindAlarmSound();
};
