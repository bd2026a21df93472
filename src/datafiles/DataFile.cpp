#include "datafiles/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "common/RegularFile.h"
#include "datafiles/DataFileNames.h"
#include "datafiles/RecordCodec.h"

DataFile::~DataFile() {
    Close();
}

void DataFile::OpenSource(const std::string& newPath, std::unique_ptr<svx::ByteSource> bytes) {
    Close();
    source = std::move(bytes);
    sourcePosition = 0;
    path = newPath;
}

bool DataFile::Open(const std::string& newPath, Mode mode) {
    Close();
    int flags = 0;
    switch (mode) {
        case Mode::Read:
            flags = O_RDONLY;
            break;
        case Mode::ReadWrite:
            flags = O_RDWR;
            break;
        case Mode::CreateWrite:
            flags = O_WRONLY | O_CREAT | O_TRUNC;
            break;
        case Mode::CreateUpdate:
            flags = O_RDWR | O_CREAT | O_TRUNC;
            break;
    }
    // Only a regular file: a FIFO would block the user-interface thread for ever, and a
    // directory or a device is no data file.
    std::string why;
    fd = OpenRegularFile(newPath, flags, why);
    if (fd < 0) return false;
    path = newPath;
    return true;
}

void DataFile::Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    source.reset();
    path.clear();
}

std::size_t DataFile::Read(void* buffer, std::size_t n) {
    if (source) {
        const std::size_t got = ReadAt(sourcePosition, buffer, n);
        sourcePosition += got;
        return got;
    }
    if (fd < 0) return 0;
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::read(fd, out + done, n - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t DataFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t n) const {
    if (source) return source->ReadAt(offset, static_cast<std::uint8_t*>(buffer), n);
    if (fd < 0) return 0;
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd, out + done, n - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool DataFile::Write(const void* data, std::size_t n) {
    if (source) {
        if (!source->WriteAt(sourcePosition, static_cast<const std::uint8_t*>(data), n)) {
            return false;
        }
        sourcePosition += n;
        return true;
    }
    return fd < 0 || WriteAll(fd, data, n);
}

bool DataFile::Seek(std::uint64_t offset) {
    if (source) {
        sourcePosition = offset;
        return true;
    }
    if (fd < 0) return false;
    return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool DataFile::SeekToEnd() {
    if (source) return Seek(source->Size());
    if (fd < 0) return false;
    return ::lseek(fd, 0, SEEK_END) >= 0;
}

std::uint64_t DataFile::Position() const {
    if (source) return sourcePosition;
    if (fd < 0) return 0;
    const off_t at = ::lseek(fd, 0, SEEK_CUR);
    return at < 0 ? 0 : static_cast<std::uint64_t>(at);
}

std::uint64_t DataFile::Length() const {
    if (source) return source->Size();
    if (fd < 0) return 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

bool DataFile::Sync() {
    if (source) return true;
    return fd >= 0 && ::fsync(fd) == 0;
}

bool SameFilePath(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) {
        const bool same = fs::equivalent(a, b, error);
        return same && !error;
    }
    const fs::path resolvedA = fs::weakly_canonical(fs::absolute(a, error), error);
    const fs::path resolvedB = fs::weakly_canonical(fs::absolute(b, error), error);
    return !error && resolvedA == resolvedB;
}

std::string OtherRecordingOfEventFile(const std::string& dataPath, const std::string& eventFile) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_regular_file(eventFile, error)) return {};
    const fs::path folder = fs::path(eventFile).parent_path();
    const std::string stem = fs::path(eventFile).filename().string();  // "x.an"
    const std::string prefix = stem.substr(0, stem.size() - 2);        // "x."
    for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + 3 || name.compare(0, prefix.size(), prefix) != 0) continue;
        if (!HasSvxEnding(name) || !it->is_regular_file(error)) continue;
        const std::string candidate = (folder / name).string();
        if (!SameFilePath(candidate, dataPath)) return candidate;
    }
    return {};
}

bool ReplaceFileContents(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp";
    DataFile out;
    // Whatever stands at the temporary name and cannot be opened (a directory) is not ours to
    // remove.
    if (!out.Open(temporary, DataFile::Mode::CreateWrite)) return false;
    bool written = out.Write(bytes.data(), bytes.size()) && out.Sync();
    out.Close();
    written = written && std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) std::remove(temporary.c_str());
    return written;
}

bool DataFile::Truncate(std::uint64_t length) {
    if (fd < 0) return false;  // a source keeps its length
    int result;
    do {
        result = ::ftruncate(fd, static_cast<off_t>(length));
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

std::optional<std::uint64_t> DirectoryFreeSpace(const std::string& directory) {
    std::error_code error;
    const auto info = std::filesystem::space(directory.empty() ? "." : directory, error);
    if (error) return std::nullopt;
    return static_cast<std::uint64_t>(info.available);
}

bool MakeFileWritable(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::perms perms = fs::status(path, error).permissions();
    if (error) return false;
    const fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((perms & anyWrite) == fs::perms::none) {
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, error);
        if (error) return false;
    }
    return ::access(path.c_str(), W_OK) == 0;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
