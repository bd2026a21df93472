// Arbitrary bytes as a ".svx" data file: played record by record through the reader, the
// event-mark hand-off, the cycle validation and the ingest (with images), wrapping once at the
// end, and resynchronised from positions inside the file.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "acquisition/CVantrelDoc.h"
#include "support/NullPlatform.h"

namespace {

// The bytes as a file without touching the disk: a memory file opened through /proc.
class MemoryFile {
public:
    MemoryFile() : fd(memfd_create("svx", 0)) {}
    ~MemoryFile() {
        if (fd >= 0) close(fd);
    }
    bool Fill(const std::uint8_t* data, std::size_t size) {
        if (fd < 0 || ftruncate(fd, 0) != 0) return false;
        std::size_t done = 0;
        while (done < size) {
            const ssize_t put = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
            if (put <= 0) return false;
            done += static_cast<std::size_t>(put);
        }
        return true;
    }
    std::string Path() const { return "/proc/self/fd/" + std::to_string(fd); }

private:
    int fd;
};

CVantrelDoc& Document() {
    // One document for the whole run: creating one clears the 29 MB history.
    static NullPlatform platform;
    static CVantrelDoc doc(platform);
    static bool sized = false;
    if (!sized) {
        std::int32_t changed = 1;
        doc.images.compositeMode = 1;
        doc.SizeCompositeImage(kZoomFillScreen, 64, changed);
        for (int slot = 0; slot < 3; ++slot) {
            changed = 1;
            doc.SizeChannelImage(slot, kZoomFillScreen, 64, changed);
        }
        sized = true;
    }
    return doc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    if (!file.Fill(data, size)) return 0;
    CVantrelDoc& doc = Document();
    doc.OnNewDocument();
    doc.CloseAllFiles();
    if (!doc.playback.playbackFile.Open(file.Path(), DataFile::Mode::Read)) return 0;
    doc.playbackMode = 1;
    doc.files.playbackFileLength = size;
    doc.files.playbackPosition = 0;
    doc.files.recordLength = 0;
    doc.files.captureFirstPing = 1;
    doc.files.settingsChangeAlarm = 1;

    // Every record advances the position by at least a header, so this bounds the walk.
    const std::size_t maxReads = 2 * (size / 256 + 2);
    bool wrapped = false;
    for (std::size_t i = 0; i < maxReads; ++i) {
        if (doc.files.playbackPosition >= doc.files.playbackFileLength) {
            if (wrapped) break;
            wrapped = true;
            doc.files.playbackPosition = 0;
            doc.history.separatorPending = 1;
        }
        if (doc.PlayNextRecord() == RecordRead::Damaged) break;
    }
    doc.Resynchronise(size / 2);
    doc.Resynchronise(size / 3 + 1);
    doc.Resynchronise(0);
    if (doc.files.playbackPosition < size) doc.PlayNextRecord();
    doc.CloseAllFiles();
    doc.playbackMode = 0;
    return 0;
}
