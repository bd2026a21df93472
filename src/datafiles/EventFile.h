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
    Damaged,   // an event number is missing or outside 0..99; the events before it are kept
    Full,      // the list holds 100 events and the text goes on
    CutOff,    // the last event lacks lines; the complete events before it are kept
};

// Reads events from file text into the list (count from 0). Lines may end in LF or CR LF
// (stored texts keep a plain LF); numbers are read the same whatever the C locale.
EventParse ParseEventList(std::string_view text, EventList& list);
