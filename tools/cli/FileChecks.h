#pragma once
// What the tools check before they read or write a file, so that each problem is one plain
// line naming the file and the reason: only regular files are read or recorded (a FIFO without
// a writer would block for ever, a device is no data file), output directories are created.

#include <string>

namespace cli {

// Empty when path is a regular file that can be opened for reading, else the reason:
// "cannot open P: No such file or directory", "P is a directory", "P is not a regular file".
std::string CheckInputFile(const std::string& path);

// Empty when a data file can be recorded at path: it does not exist yet, or is a regular
// file. Else "cannot record to P: it is not a regular file" and the like.
std::string CheckRecordFile(const std::string& path);

// Creates the directory (and its parents) when missing; empty on success, else the reason.
std::string MakeOutputDirectory(const std::string& path);

// The text of a message box as one line: line breaks become spaces.
std::string OneLine(const std::string& text);

// What a tool prints for a message box of the document it runs: one line, the GUI's
// "Failed to open document:" as "cannot open PATH".
std::string ToolLine(const std::string& messageBoxText);

}  // namespace cli
