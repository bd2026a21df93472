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
    // Every entry to number -1, ping -1, fraction -4000 and empty texts; count 0.
    void ResetSlots();
};

// The text of a list in file order.
std::string FormatEventList(const EventList& list);

enum class EventParse {
    Complete,  // every event of the text is in the list
    Damaged,   // an event number is missing or outside 0..99; the events before it are kept
    Full,      // the list holds 100 events and the text goes on
};

// Reads events from file text into the list (count from 0).
EventParse ParseEventList(std::string_view text, EventList& list);
