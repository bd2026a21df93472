// The event file of a played data file: read into the event list when the file is opened,
// written back when it is closed (and, through SaveEventFiles, after every change).

#include <algorithm>
#include <string>

#include "acquisition/CVantrelDoc.h"
#include "datafiles/DataFileTexts.h"

namespace {

// An event file holds at most 100 events of eight lines of at most 520 characters; anything
// after that cannot be taken into the list.
constexpr std::uint64_t kMaxEventFileBytes =
    static_cast<std::uint64_t>(kMaxEvents) * 8 * (kMaxEventLine + 1) + 1;

}  // namespace

void CVantrelDoc::LoadEventFile() {
    events.eventList.count = 0;
    events.eventFileDamaged = 0;
    DataFile& file = events.playbackEventFile;
    const std::uint64_t length = file.Length();
    if (!file.IsOpen() || length == 0) return;
    std::string text(static_cast<std::size_t>(std::min(length, kMaxEventFileBytes)), '\0');
    file.Seek(0);
    text.resize(file.Read(text.data(), text.size()));
    const EventParse result = ParseEventList(text, events.eventList);
    events.eventList.SortByPing();
    // A file that could not be read to its end is left as it is when playback closes; an
    // event cut off at the end has nothing left to keep.
    const bool readToEnd = result == EventParse::Complete || result == EventParse::CutOff;
    if (!readToEnd || length > kMaxEventFileBytes) events.eventFileDamaged = 1;
    if (result == EventParse::Damaged) platform.MessageBox(datafiletext::kEventFileDamaged);
}

void CVantrelDoc::WriteEventFile(const EventList& list, DataFile& file) {
    if (list.Empty()) return;
    const std::string text = FormatEventList(list);
    file.Seek(0);
    file.Write(text.data(), text.size());
}
