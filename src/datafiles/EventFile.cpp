#include "datafiles/EventFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

void EventList::ResetSlots() {
    for (EventRecord& entry : entries) entry = EventRecord{};
    count = 0;
}

std::string FormatEventList(const EventList& list) {
    std::string text;
    char numbers[96];
    for (int i = 0; i < list.count && i < kMaxEvents; ++i) {
        const EventRecord& event = list.entries[i];
        std::snprintf(numbers, sizeof numbers, "%d\n%d\n%f\n", event.number, event.pingNumber,
                      event.acrossFraction);
        text += numbers;
        for (const std::string* line :
             {&event.date, &event.time, &event.latitude, &event.longitude, &event.annotation}) {
            text += *line;
        }
    }
    return text;
}

namespace {

// One line with its line end, at most kMaxEventLine characters of it; the rest of a longer
// line is skipped. Empty at the end of the text.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    const std::size_t end = text.find('\n', start);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end + 1;
    pos = stop;
    return text.substr(start, std::min(stop - start, kMaxEventLine));
}

// The whole number a line starts with (blanks, an optional sign, digits); false without one.
bool LeadingInt(std::string_view line, long& value) {
    std::string copy(line);
    const char* begin = copy.c_str();
    char* end = nullptr;
    value = std::strtol(begin, &end, 10);
    return end != begin;
}

}  // namespace

EventParse ParseEventList(std::string_view text, EventList& list) {
    list.count = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (list.count == kMaxEvents) return EventParse::Full;
        long number = -1;
        if (!LeadingInt(NextLine(text, pos), number) || number < 0 || number > kMaxEventNumber) {
            return EventParse::Damaged;
        }
        EventRecord& event = list.entries[list.count];
        event.number = static_cast<std::int32_t>(number);
        long ping = 0;
        LeadingInt(NextLine(text, pos), ping);
        event.pingNumber = static_cast<std::int32_t>(ping);
        event.acrossFraction = std::strtod(std::string(NextLine(text, pos)).c_str(), nullptr);
        for (std::string* line :
             {&event.date, &event.time, &event.latitude, &event.longitude, &event.annotation}) {
            line->assign(NextLine(text, pos));
        }
        ++list.count;
    }
    return EventParse::Complete;
}
