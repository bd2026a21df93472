#pragma once
// A data file played headless once from its first record to its end, as the application
// plays it: the document has a GPS reader (the application always has one, and only then are
// the recorded sentences decoded again), the data file and its event file are opened
// read-only and no event file is created, and damaged records are stepped over.

#include <functional>
#include <string>
#include <vector>

#include "document/CVantrelDoc.h"
#include "platform/qt/QtGpsReader.h"
#include "platform/qt/QtHeadlessPlatform.h"

namespace cli {

class PlaybackRun {
public:
    // Needs the QCoreApplication of the command.
    explicit PlaybackRun(const char* command);
    ~PlaybackRun();
    PlaybackRun(const PlaybackRun&) = delete;
    PlaybackRun& operator=(const PlaybackRun&) = delete;

    CVantrelDoc& Doc() { return doc; }
    // Opens the file; false with the reason ("x is neither a data file (.svx) nor an XTF file (.xtf)", ...).
    bool Open(const std::string& file, std::string& error);
    // Plays every record, calling `played` after each one; returns the records played.
    int PlayAll(const std::function<void()>& played);
    // The same, stopping after a record for which `played` returns false.
    int PlayWhile(const std::function<bool()>& played);
    // One line on standard error for each damaged stretch stepped over; true when there was
    // none.
    bool ReportSkipped() const;

private:
    const char* command;
    QtHeadlessPlatform platform;
    CVantrelDoc doc{platform};
    QtGpsReader reader{doc.gps, [this] { doc.GpsReadDone(); }};
};

}  // namespace cli
