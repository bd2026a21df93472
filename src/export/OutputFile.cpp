#include "export/OutputFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace svx {

namespace {
constexpr std::size_t kBufferBytes = 1 << 20;
}

OutputFile::~OutputFile() {
    Discard();
}

std::string OutputFile::Failure(int code) const {
    // Said plainly: "No space left on device" reads like a fault of the device.
    if (code == ENOSPC) return "cannot write " + path + ": the disk is full";
    if (code == EDQUOT) return "cannot write " + path + ": the disk quota is used up";
    return "cannot write " + path + ": " + std::strerror(code);
}

bool OutputFile::Open(const std::string& target, std::string& error) {
    Discard();
    path = target;
    // Only a regular file this export writes is ever removed: never a device such as
    // /dev/full or a FIFO that was named as the output.
    struct stat info {};
    removable = ::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode);
    file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = Failure(errno);
        return false;
    }
    std::setvbuf(file, nullptr, _IOFBF, kBufferBytes);
    return true;
}

bool OutputFile::Write(const void* bytes, std::size_t n, std::string& error) {
    if (!file) return false;
    if (std::fwrite(bytes, 1, n, file) == n) return true;
    error = Failure(errno ? errno : EIO);
    Discard();
    return false;
}

bool OutputFile::Commit(std::string& error) {
    if (!file) return false;
    errno = 0;
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    file = nullptr;
    if (flushed && closed) return true;
    error = Failure(!flushed ? flushError : (closeError ? closeError : EIO));
    Remove();
    return false;
}

void OutputFile::Discard() {
    if (!file) return;
    std::fclose(file);
    file = nullptr;
    Remove();
}

void OutputFile::Remove() {
    if (removable) std::remove(path.c_str());
}

}  // namespace svx
