#pragma once
// The titles of the stored windows: the form a window carries when its command opens it, the
// form the layout gives it, and the main frame's title.

#include <string>

#include "shell/WindowLayout.h"

// "Sonvara_RGB - 120 kHz", "Sonvara_RGB - Sonar 540 kHz" (the 540 kHz frame), ...: the title
// of a window just opened by its "&Sonar" command, naming the frequency of the head whose
// image it shows, 120, 260 or 540 kHz for heads 0, 1 and 2 (in a two-frequency system the
// first two frames show the two heads there are, whichever they are).
std::string CommandWindowTitle(int window, int head);
// 120000, 260000 or 540000: the frequency a side-scan head is named by (heads 0, 1, 2).
int NominalFrequencyHz(int head);
// "Sonvara_RGB -- 120 kHz" (the frequency of the head the window shows), "Sonvara_RGB",
// "Sonvara_RGB -- Echo Sounder", "Sonvara_RGB -- Track Plotter".
std::string LayoutWindowTitle(int window, int frequencyHz);
// The main frame's title after a layout: the real-time title while live data is shown, the
// document's title text (the played or recorded file) during playback and recording.
std::string MainFrameTitle(bool playback, bool recording, const std::string& documentTitle);
