#pragma once
// Opening a named file without ever blocking. Opening a FIFO for reading waits for a writer,
// and for writing waits for a reader, for ever if none comes; a terminal or another device
// named as a settings, palette, event, log or data file has no place there either. The files
// the programs read, and those they keep (a recording, an event file, a palette file), are
// opened here: without waiting, then refused unless they are regular files.

#include <cstddef>
#include <string>

// A descriptor of the regular file at path, opened with the given open(2) flags (O_RDONLY,
// O_RDWR, O_WRONLY | O_CREAT | O_TRUNC ...), blocking as usual once checked; -1 with the
// reason in `why`: "cannot open P: No such file or directory", "P is a directory",
// "P is not a regular file".
int OpenRegularFile(const std::string& path, int flags, std::string& why);

// Empty when path names a regular file that opens for reading, else the reason as above.
std::string RegularFileProblem(const std::string& path);

// The whole regular file, or its first `limit` bytes; false with the reason ("cannot read
// P: Input/output error" after an open that succeeded).
bool ReadRegularFile(const std::string& path, std::string& bytes, std::string& why,
                     std::size_t limit = static_cast<std::size_t>(-1));

// Writes all bytes to the descriptor, again after an interruption; false when that fails
// (errno says why).
bool WriteAll(int fd, const void* bytes, std::size_t n);
