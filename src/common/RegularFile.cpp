#include "common/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

std::string CannotOpen(const std::string& path) {
    return "cannot open " + path + ": " + std::strerror(errno);
}

// Why open failed: a directory opened for writing says EISDIR, a FIFO without a reader ENXIO.
std::string OpenFailure(const std::string& path) {
    if (errno == EISDIR) return path + " is a directory";
    if (errno == ENXIO) return path + " is not a regular file";
    return CannotOpen(path);
}

// Why an opened descriptor is refused; empty for a regular file, which is then switched back
// to blocking reads and writes.
std::string Refusal(int fd, const std::string& path) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return CannotOpen(path);
    if (S_ISDIR(info.st_mode)) return path + " is a directory";
    if (!S_ISREG(info.st_mode)) return path + " is not a regular file";
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) return CannotOpen(path);
    return {};
}

}  // namespace

int OpenRegularFile(const std::string& path, int flags, std::string& why) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        why = OpenFailure(path);
        return -1;
    }
    why = Refusal(fd, path);
    if (why.empty()) return fd;
    ::close(fd);
    return -1;
}

std::string RegularFileProblem(const std::string& path) {
    std::string why;
    const int fd = OpenRegularFile(path, O_RDONLY, why);
    if (fd >= 0) ::close(fd);
    return why;
}

bool ReadRegularFile(const std::string& path, std::string& bytes, std::string& why,
                     std::size_t limit) {
    bytes.clear();
    const int fd = OpenRegularFile(path, O_RDONLY, why);
    if (fd < 0) return false;
    char buffer[65536];
    while (bytes.size() < limit) {
        const std::size_t want = std::min(sizeof buffer, limit - bytes.size());
        const ssize_t got = ::read(fd, buffer, want);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) why = "cannot read " + path + ": " + std::strerror(errno);
        if (got <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return why.empty();
}

bool WriteAll(int fd, const void* bytes, std::size_t n) {
    const auto* data = static_cast<const char*>(bytes);
    std::size_t done = 0;
    while (done < n) {
        const ssize_t written = ::write(fd, data + done, n - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}
