#include "export/LogTrack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "common/RegularFile.h"
#include "export/OutputFile.h"
#include "export/TrackWriter.h"
#include "gps/TrackFixes.h"

namespace svx {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The lines of the log, each handed over as LogSentenceOfLine cuts it. A line split between
// two reads is kept only as far as the cut needs: its first sentence's length after the
// leading blanks, and whether anything but blanks follows.
class LogLines {
public:
    template <class Take>
    void Feed(std::string_view bytes, Take&& take) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = LineEnd(bytes, start);
            const std::string_view piece = bytes.substr(start, end - start);
            if (end == bytes.size()) {
                Keep(piece);
                return;
            }
            if (begun) {
                Keep(piece);
                take(Cut());
                Clear();
            } else {
                take(LogSentenceOfLine(piece));
            }
            start = end + 1;
        }
    }
    template <class Take>
    void Finish(Take&& take) {
        if (begun) take(Cut());
        Clear();
    }

private:
    static std::size_t LineEnd(std::string_view bytes, std::size_t from) {
        const char* p = bytes.data();
        for (std::size_t i = from; i < bytes.size(); ++i) {
            if (p[i] == '\n' || p[i] == '\r') return i;
        }
        return bytes.size();
    }
    void Keep(std::string_view piece) {
        begun = begun || !piece.empty();
        for (const char c : piece) {
            if (kept.empty() && IsBlank(c)) continue;
            if (kept.size() < kSentenceMaxLength) {
                kept.push_back(c);
            } else if (!IsBlank(c)) {
                more = true;
            }
        }
    }
    std::string_view Cut() const {
        std::string_view line = kept;
        while (!more && !line.empty() && IsBlank(line.back())) line.remove_suffix(1);
        return line;
    }
    void Clear() {
        kept.clear();
        begun = more = false;
    }

    std::string kept;
    bool begun = false;
    bool more = false;  // text other than blanks beyond the kept length
};

// The output file, created at the first text written to it.
class TrackOutput {
public:
    TrackOutput(const std::string& path, GeoFormat format, const std::string& name,
                std::size_t flushBytes)
        : path(path), writer(format, name), flushBytes(flushBytes) {}

    void Add(const TrackFix& fix) {
        if (Failed()) return;
        if (!started) writer.Start(text);
        started = true;
        writer.Add(fix, text);
        ++points;
        if (text.size() >= flushBytes) Flush();
    }
    // False with the error when the output could not be completed (and so was removed).
    bool Commit() {
        if (Failed() || !started) return !Failed();
        writer.End(text);
        Flush();
        return !Failed() && file.Commit(error);
    }
    bool Failed() const { return !error.empty(); }

    std::uint64_t points = 0;
    std::string error;

private:
    void Flush() {
        if (!opened && !file.Open(path, error)) return;
        opened = true;
        if (file.Write(text.data(), text.size(), error)) text.clear();
    }

    std::string path;
    TrackWriter writer;
    std::size_t flushBytes;
    OutputFile file;
    std::string text;
    bool started = false;
    bool opened = false;
};

// The output names the log itself: writing it would destroy what is being read.
bool IsTheLog(int logFd, const std::string& out) {
    struct stat logInfo {}, outInfo {};
    return ::fstat(logFd, &logInfo) == 0 && ::stat(out.c_str(), &outInfo) == 0 &&
           logInfo.st_dev == outInfo.st_dev && logInfo.st_ino == outInfo.st_ino;
}

// Reads the whole log through the collector; false with the reason when a read fails or the
// output did.
bool ReadLog(int fd, const std::string& log, std::size_t readBytes, TrackFixCollector& collector,
             const TrackOutput& output, std::string& error) {
    std::vector<char> buffer(readBytes > 0 ? readBytes : 1);
    LogLines lines;
    const auto take = [&collector](std::string_view sentence) {
        collector.AddLogSentence(sentence);
    };
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = "cannot read " + log + ": " + std::strerror(errno);
            return false;
        }
        if (got == 0) break;
        lines.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)), take);
        if (output.Failed()) return false;
    }
    lines.Finish(take);
    return true;
}

}  // namespace

LogTrackReport ExportLogTrack(const std::string& log, const std::string& out, GeoFormat format,
                              const std::string& name, LogTrackSizes sizes) {
    LogTrackReport report;
    const int fd = OpenRegularFile(log, O_RDONLY, report.error);
    if (fd < 0) return report;
    if (IsTheLog(fd, out)) {
        ::close(fd);
        report.error = "cannot write " + out + ": it is the log being read";
        return report;
    }
    TrackOutput output(out, format, name, sizes.writeBytes);
    TrackFixCollector collector([&output](const TrackFix& fix) { output.Add(fix); });
    const bool read = ReadLog(fd, log, sizes.readBytes, collector, output, report.error);
    ::close(fd);
    if (read) collector.Finish();
    report.withoutFix = collector.WithoutFix();
    if (!read || !output.Commit()) {
        if (report.error.empty()) report.error = output.error;
        return report;  // the output, if it was created, is removed with it
    }
    report.points = output.points;
    return report;
}

}  // namespace svx
