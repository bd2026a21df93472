#include "PlaybackRun.h"

#include <cstdio>

#include "Commands.h"
#include "FileChecks.h"
#include "datafiles/DataFileTexts.h"
#include "platform/TimerIds.h"

namespace cli {

namespace {

// Why the document refused to play the file, from the text of its message box.
std::string OpenProblem(const std::string& file, const std::vector<std::string>& messages) {
    if (messages.empty()) return "cannot play " + file;
    const std::string& text = messages.front();
    if (text == datafiletext::kUnknownType) return file + " is neither a data file (.svx) nor an XTF file (.xtf)";
    if (text == datafiletext::kNoData) return file + " holds no record";
    // A reason that names the file already is not prefixed with its name again.
    if (text.rfind(file + ":", 0) == 0) return "cannot play " + OneLine(text);
    return "cannot play " + file + ": " + OneLine(text);
}

}  // namespace

PlaybackRun::PlaybackRun(const char* name) : command(name) {
    doc.SetGpsReader(&reader);
    FileSystemAccess access = doc.files.fileSystem;
    access.makeWritable = [](const std::string&) { return false; };
    doc.SetFileSystemAccess(access);
}

PlaybackRun::~PlaybackRun() {
    doc.CloseDocument();
    // The reader thread is joined (with the reader) before the document goes.
    doc.SetGpsReader(nullptr);
}

bool PlaybackRun::Open(const std::string& file, std::string& error) {
    std::vector<std::string> messages;
    platform.SetMessageSink([&messages](const std::string& text) { messages.push_back(text); });
    const bool opened = doc.OpenPlaybackFile(file);
    platform.SetMessageSink([](const std::string& text) { Complain(ToolLine(text)); });
    if (!opened) {
        error = OpenProblem(file, messages);
        return false;
    }
    // The file plays; what else the document said (an event file it cannot open) is printed.
    for (const std::string& text : messages) Complain(ToolLine(text));
    // The records are played here one after the other, not on the playback timers.
    platform.StopTimer(kTimerPlaybackDelay);
    return true;
}

int PlaybackRun::PlayAll(const std::function<void()>& played) {
    return PlayWhile([&played] {
        played();
        return true;
    });
}

int PlaybackRun::PlayWhile(const std::function<bool()>& played) {
    int records = 0;
    while (doc.files.playbackPosition < doc.files.playbackFileLength) {
        const RecordRead read = doc.PlayNextRecord();
        if (read == RecordRead::Damaged) break;  // no readable record in the whole file
        if (read != RecordRead::Record) continue;
        ++records;
        if (!played()) break;
    }
    return records;
}

bool PlaybackRun::ReportSkipped() const {
    for (const xtf::DamagedStretch& stretch : doc.playback.xtfDamage) {
        std::fprintf(
            stderr, "sonvara-cli %s: damaged record at offset %llu skipped (%llu bytes: %s)\n",
            command, static_cast<unsigned long long>(stretch.offset),
            static_cast<unsigned long long>(stretch.bytes), xtf::DamageText(stretch.damage));
    }
    for (const svx::DamagedStretch& stretch : doc.playback.skipped) {
        std::fprintf(
            stderr, "sonvara-cli %s: damaged record at offset %llu skipped (%llu bytes: %s)\n",
            command, static_cast<unsigned long long>(stretch.offset),
            static_cast<unsigned long long>(stretch.bytes), svx::DamageText(stretch.damage));
    }
    return doc.playback.skipped.empty() && doc.playback.xtfDamage.empty();
}

}  // namespace cli
