#pragma once
// The texts the data-file commands show: dialog titles and filters, window titles, messages.

#include <cstdint>
#include <string>

namespace datafiletext {

inline constexpr const char* kSvxFilter = "Sonar Data File: (*.svx)";
// The playback's open dialog also offers the XTF files of other sonars.
inline constexpr const char* kPlaybackFilter = "Sonar Data File: (*.svx);;XTF Files (*.xtf)";
inline constexpr const char* kSaveTitle = "Save data File:";
inline constexpr const char* kOpenTitle = "Open Data File:";

inline constexpr const char* kUnknownType = "ERROR: Application can not recognize this file type!";
inline constexpr const char* kNoData = "File has no data!";
inline constexpr const char* kAlreadySaving = "Data is already being saved to file.";
inline constexpr const char* kUsedAsPlayback =
    "Can't write in this file ...\nThis file is used as playback.";
inline constexpr const char* kErrorOpening = "Error Opening File!";
inline constexpr const char* kErrorCreatingEvents = "Error Creating Annotation File!";
inline constexpr const char* kDiskFull = "WARNING! The disk is full!!\nSaving process will stop!";
inline constexpr const char* kWriteFailed =
    "WARNING! The data file could not be written!\nSaving process will stop!";
inline constexpr const char* kEventFileDamaged = "Event Info File Damaged!";
// A copy refused because it would write over the file being played or its event file.
inline std::string RecordingOverPlayback(const std::string& path, const std::string& clash) {
    return "Can't record to " + path + ": " + clash + ".";
}
// Said when a played file's event file cannot be read to its end: where, and what was kept.
inline std::string EventFileDamaged(const std::string& path, const std::string& where,
                                    int eventsRead) {
    return std::string(kEventFileDamaged) + "\n" + path + ", " + where + ".\nThe " +
           std::to_string(eventsRead) +
           (eventsRead == 1 ? " event before it is shown" : " events before it are shown") +
           "; the file is kept as it is.";
}
// Said when an event is to be added, changed or deleted while the event file is damaged.
inline std::string DamagedEventFileKept(const std::string& path, const std::string& where) {
    return "The event file " + path + " could not be read to its end (" + where +
           "). It is kept as it is: events cannot be added, changed or deleted until the file "
           "is mended.";
}

// The report of a file that could not be opened or created.
inline std::string OpenFailure(const std::string& path) {
    return "Failed to open document:\n" + path;
}

inline std::string PlaybackTitle(const std::string& path) {
    return "Halvex Sonvara_RGB -- Playback (" + path + ")";
}
inline std::string CopyTitle(const std::string& path, const std::string& target) {
    return PlaybackTitle(path) + " - Copy Data to (" + target + ")";
}
inline std::string RecordingTitle(const std::string& target) {
    return "Halvex Sonvara_RGB -- Real Time - Data Recording to (" + target + ")";
}
// The title when nothing is played: real time while the engine runs, otherwise the plain name.
inline std::string NotPlayingTitle(bool realTime) {
    return realTime ? "Halvex Sonvara_RGB -- Real Time" : "Halvex Sonvara_RGB";
}
// The status-bar message about damage stepped over in the file being played.
inline std::string DamageSkipped(std::size_t stretches, std::uint64_t firstOffset,
                                 std::uint64_t firstBytes) {
    if (stretches == 1) {
        return "Damaged record skipped at offset " + std::to_string(firstOffset) + " (" +
               std::to_string(firstBytes) + " bytes)";
    }
    return std::to_string(stretches) + " damaged stretches skipped, the first at offset " +
           std::to_string(firstOffset);
}
inline std::string StoppedTitle(bool playback, const std::string& path) {
    return playback ? PlaybackTitle(path) + " " : "Halvex Sonvara_RGB -- Real Time ";
}

}  // namespace datafiletext
