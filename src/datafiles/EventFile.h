#pragma once
// The event file beside a data file (x.svx has x.an): text, eight lines per event, each line
// ended by a line feed:
//
//   event number ("%d"), ping number ("%d"), across-track fraction ("%f"),
//   date, time, latitude, longitude, annotation (stored texts that keep their own line end)
//
// and the lists of events it is read into and written from.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

inline constexpr int kMaxEvents = 100;
inline constexpr int kMaxEventNumber = 99;
// Longest line the reader takes; the rest of a longer line is dropped.
inline constexpr std::size_t kMaxEventLine = 519;

struct EventRecord {
    std::int32_t number = -1;
    std::int32_t pingNumber = -1;
    double acrossFraction = -4000.0;
    std::string date, time, latitude, longitude, annotation;
};

struct EventList {
    std::array<EventRecord, kMaxEvents> entries;
    std::int32_t count = 0;

    bool Empty() const { return count == 0; }
    bool Full() const { return count >= kMaxEvents; }
    // Every entry to number -1, ping -1, fraction -4000 and empty texts; count 0.
    void ResetSlots();
    // The largest event number, -1 when the list is empty.
    int LargestNumber() const;
    // Index of the first event with this number, or -1.
    int FindNumber(int number) const;
    int CountAtPing(int ping) const;
    // True when an event with this number and ping is in the list.
    bool Contains(int number, int ping) const;
    // Before the first event of a larger ping (after those of the same ping); the index it
    // went to, -1 when the list is full.
    int InsertByPing(const EventRecord& event);
    // At the end; false when the list is full.
    bool Append(const EventRecord& event);
    // Removes the entry; the following ones move down and the freed slot is reset.
    void RemoveAt(int index);
    // Orders the events by ping; events of one ping keep their order.
    void SortByPing();
};

// Longest annotation the dialog takes.
inline constexpr std::size_t kMaxAnnotation = 512;

// An annotation as stored: one line (every line break becomes a space), at most 512
// characters, "n/a" when empty, with its line end.
std::string StoredAnnotation(std::string_view typed);
// A stored text without its line end (LF or CR LF).
std::string_view WithoutLineEnd(std::string_view text);

// The text of a list in file order; the fraction with six decimals and a point in any locale.
std::string FormatEventList(const EventList& list);

enum class EventParse {
    Complete,  // every event of the text is in the list
    Damaged,   // a line holds what cannot be (see EventFileReading); the events before it are kept
    Full,      // the list holds 100 events and the text goes on
    CutOff,    // the last event lacks lines; the complete events before it are kept
};

// How far the reading of an event file got: where it stopped and why, for a message that
// names the line.
struct EventFileReading {
    EventParse status = EventParse::Complete;
    // The line the reading stopped at (the first line is 1); 0 when the text was read whole.
    int line = 0;
    // What is wrong there, e.g. "ping number -5 is not a whole number from 0 to 2147483647".
    std::string reason;
    // "line 17: ..." for a message, empty when the text was read whole.
    std::string Where() const;
};

// Supplies the text of an event file piece by piece: copies up to `size` bytes into `buffer`
// and returns how many, 0 at the end.
using EventTextSource = std::function<std::size_t(char* buffer, std::size_t size)>;

// Reads events from file text into the list (count from 0), taking the text a piece at a time
// so that a file of any length is read with little memory; reading stops after 100 events.
// Lines may end in LF or CR LF (stored texts keep a plain LF); numbers are read the same
// whatever the C locale. A line refused: the event number outside 0..99, a ping number outside
// 0..2147483647, an across fraction outside 0..1 (or not a number), each a whole line.
EventFileReading ReadEventText(const EventTextSource& source, EventList& list);
// A source that gives the text at most `piece` bytes at a time.
EventTextSource TextInPieces(std::string_view text, std::size_t piece);
// The same over a text held whole.
EventFileReading ReadEventText(std::string_view text, EventList& list);
inline EventParse ParseEventList(std::string_view text, EventList& list) {
    return ReadEventText(text, list).status;
}
