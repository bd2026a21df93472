#pragma once
// Window timers of the main frame, by identifier.

inline constexpr int kTimerPlaybackDelay = 1010;  // one-shot delay before playback (re)starts
inline constexpr int kTimerReply = 1020;          // reply timeout; rebuilds the connections
inline constexpr int kTimerHeadRetry = 1021;      // tries a head left out of polling again
inline constexpr int kTimerPlayback = 1030;       // one playback tick = one record
inline constexpr int kTimerGpsRead = 1040;        // one serial read of the GPS
inline constexpr int kTimerOrientation = 2020;    // orientation window repaint

inline constexpr int kReplyTimeoutMs = 3000;
