// The event file of a played data file: read into the event list when the file is opened
// (and saved after every change, through SaveEventFiles). A file that cannot be read to its
// end is kept as it is.

#include <string>

#include "datafiles/DataFileTexts.h"
#include "document/CVantrelDoc.h"

void CVantrelDoc::LoadEventFile() {
    events.eventList.count = 0;
    events.eventFileDamaged = 0;
    events.eventFileDamage.clear();
    events.playbackEventsUnsaved = 0;
    DataFile& file = events.playbackEventFile;
    if (!file.IsOpen() || file.Length() == 0) return;
    file.Seek(0);
    const EventFileReading reading =
        ReadEventText([&file](char* buffer, std::size_t size) { return file.Read(buffer, size); },
                      events.eventList);
    events.eventList.SortByPing();
    if (reading.status == EventParse::Complete) return;
    // The file is kept as it is: rewritten from the events read it would lose the rest.
    events.eventFileDamaged = 1;
    events.eventFileDamage = reading.Where();
    platform.MessageBox(
        datafiletext::EventFileDamaged(file.Path(), reading.Where(), events.eventList.count));
}

bool CVantrelDoc::RefuseChangeOfDamagedEventFile() {
    if (!events.eventFileDamaged || !events.playbackEventFile.IsOpen()) return false;
    platform.MessageBox(datafiletext::DamagedEventFileKept(events.playbackEventFile.Path(),
                                                           events.eventFileDamage));
    return true;
}
