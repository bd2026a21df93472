#pragma once
// Names of data files and of the files that go with them.

#include <string>

#include "platform/Platform.h"

// The last three characters, in lower case, are "svx" ("a.SVX" counts).
bool HasSvxEnding(const std::string& name);
// A name ending in ".xtf" (any case): an XTF file of another sonar, played as a recording.
bool HasXtfEnding(const std::string& name);
// The name proposed for a new recording: the local time as "%y%m%d %H-%M-%S" and ".svx",
// e.g. "250703 14-05-09.svx".
std::string ProposedRecordingName(const LocalTime& now);
// A name typed without an extension gets ".svx", as the save dialog's default extension.
std::string WithDefaultExtension(const std::string& path);
// The event file of a data file: the path with its last three characters replaced by "an"
// (x.svx has x.an).
std::string EventFileNameFor(const std::string& dataPath);
