#pragma once
// A binary file object for the data files and their event files: read, write, seek from the
// start, length, truncate. A closed object (no open handle) skips every read and write
// silently, so callers may write to a file that failed to open without testing it first.
//
// Writes are all or nothing as far as the caller can tell: Write returns false when not every
// byte reached the file (disk full, file size limit, I/O error).
//
// Used on the user-interface thread only.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace svx {
class ByteSource;
}

class DataFile {
public:
    enum class Mode {
        Read,          // existing file, read only
        ReadWrite,     // existing file, read and write
        CreateWrite,   // create or truncate, write only
        CreateUpdate,  // create or truncate, read and write
    };

    DataFile() = default;
    ~DataFile();
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Closes any file this object has open, then opens path. False when it cannot be opened.
    bool Open(const std::string& path, Mode mode);
    // Closes any file this object has open, then reads and writes `source` in place of a file
    // (a file of another format shown as records): writes go to the source, which keeps them
    // in memory or refuses them; the file at `path` is never written. Length is fixed.
    void OpenSource(const std::string& path, std::unique_ptr<svx::ByteSource> source);
    void Close();
    bool IsOpen() const { return fd >= 0 || source != nullptr; }
    const std::string& Path() const { return path; }

    // Reads up to n bytes at the current position; returns the number read (0 when closed, at
    // the end of the file or on an error).
    std::size_t Read(void* buffer, std::size_t n);
    // Reads up to n bytes at an offset without moving the position; returns the number read.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t n) const;
    // Writes n bytes at the current position. True when all of them were written, or when the
    // file is closed (the write is skipped).
    bool Write(const void* data, std::size_t n);
    // Moves to a byte offset from the start; false when closed or on an error.
    bool Seek(std::uint64_t offset);
    bool SeekToEnd();
    // Current position and length; 0 when closed.
    std::uint64_t Position() const;
    std::uint64_t Length() const;
    // Cuts (or extends) the file to length bytes; false when closed or on an error.
    bool Truncate(std::uint64_t length);
    // Makes what was written durable on the drive; false when closed or on an error.
    bool Sync();

private:
    int fd = -1;
    std::string path;
    std::unique_ptr<svx::ByteSource> source;
    std::uint64_t sourcePosition = 0;
};

// Operations on the file system that the recorder and the playback ask for. Tests replace the
// functions to reproduce a full disk or a file whose protection cannot be lifted.
struct FileSystemAccess {
    // Bytes available to this user on the file system that holds the directory; nothing when
    // the query fails.
    std::optional<std::uint64_t> (*freeSpace)(const std::string& directory);
    // Makes an existing file writable: a read-only mark (no write permission bit) is cleared.
    // False when the file stays unwritable for this process.
    bool (*makeWritable)(const std::string& path);
};

std::optional<std::uint64_t> DirectoryFreeSpace(const std::string& directory);
bool MakeFileWritable(const std::string& path);
inline constexpr FileSystemAccess kRealFileSystem{DirectoryFreeSpace, MakeFileWritable};

bool FileExists(const std::string& path);
// True when the two paths name one file: the same file under two names when both exist (a
// hard link, "./x", a symbolic link), else the same path once resolved.
bool SameFilePath(const std::string& a, const std::string& b);
// Another recording whose event file is `eventFile`: a file in the same folder ending in
// "svx" (any case), other than `dataPath`, that maps to it (x.svx and x.SVX both have x.an).
// Empty when the event file does not exist or belongs to no other recording.
std::string OtherRecordingOfEventFile(const std::string& dataPath, const std::string& eventFile);
// Replaces the file at path by `bytes`, written to path + ".tmp", made durable and renamed
// over path, so that a crash leaves either the old file or the new one. False (and path
// untouched) when it cannot be done.
bool ReplaceFileContents(const std::string& path, const std::string& bytes);

// The directory part of a path including its last '/', or "" when it has none.
std::string DirectoryOf(const std::string& path);
// The name after the last '/'.
std::string FileNameOf(const std::string& path);
