#pragma once
// The texts the events show the operator.

#include <string>

namespace eventtext {

inline constexpr const char* kNoEventsFound = "No events found in this file!";
inline constexpr const char* kNoMoreEvents = "No more events in this file!";
inline constexpr const char* kReallyDelete = "Do you really want to delete this event?";
inline constexpr const char* kDenyWriteOnDelete = "File Deny Write!";
inline constexpr const char* kDenyWriteOnEdit = "File Deny write!";
inline constexpr const char* kSelectAnEvent =
    "Please use 'PREV' or 'NEXT' commands to select an event!";
inline constexpr const char* kListFull = "The event list is full (100 events).";

inline std::string NoRecordForMark(int ping) {
    return "No record of ping " + std::to_string(ping) +
           " was found in the data file: its event mark was not written.";
}

inline std::string NoRecordForEvent(int ping) {
    return "No record of ping " + std::to_string(ping) +
           " was found in the data file: the event was not added.";
}

inline std::string EventFileNotSaved(const std::string& path) {
    return "The event file " + path + " could not be saved.";
}

}  // namespace eventtext
