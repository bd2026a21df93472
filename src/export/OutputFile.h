#pragma once
// A file an export writes: opened for writing, filled, then committed. Every failure names
// the path and the reason; a file that is not committed (a failed write, a cancelled export)
// is removed, so that no half-written output is left behind (a device or FIFO named as the
// output is written to but never removed).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace svx {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // False with "cannot write PATH: reason".
    bool Open(const std::string& path, std::string& error);
    bool Write(const void* bytes, std::size_t n, std::string& error);
    // Flushes and closes; false (and the file removed) when that fails.
    bool Commit(std::string& error);
    // Closes and removes the file.
    void Discard();

private:
    std::string Failure(int code) const;
    void Remove();

    std::FILE* file = nullptr;
    std::string path;
    bool removable = false;
};

}  // namespace svx
