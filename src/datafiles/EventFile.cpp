#include "datafiles/EventFile.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

void EventList::ResetSlots() {
    for (EventRecord& entry : entries) entry = EventRecord{};
    count = 0;
}

int EventList::LargestNumber() const {
    int largest = -1;
    for (int i = 0; i < count; ++i)
        largest = std::max(largest, static_cast<int>(entries[i].number));
    return largest;
}

int EventList::FindNumber(int number) const {
    for (int i = 0; i < count; ++i) {
        if (entries[i].number == number) return i;
    }
    return -1;
}

int EventList::CountAtPing(int ping) const {
    int n = 0;
    for (int i = 0; i < count; ++i) n += entries[i].pingNumber == ping ? 1 : 0;
    return n;
}

bool EventList::Contains(int number, int ping) const {
    for (int i = 0; i < count; ++i) {
        if (entries[i].number == number && entries[i].pingNumber == ping) return true;
    }
    return false;
}

int EventList::InsertByPing(const EventRecord& event) {
    if (Full()) return -1;
    int at = 0;
    while (at < count && entries[at].pingNumber <= event.pingNumber) ++at;
    std::move_backward(entries.begin() + at, entries.begin() + count, entries.begin() + count + 1);
    entries[at] = event;
    ++count;
    return at;
}

bool EventList::Append(const EventRecord& event) {
    if (Full()) return false;
    entries[count++] = event;
    return true;
}

void EventList::RemoveAt(int index) {
    if (index < 0 || index >= count) return;
    std::move(entries.begin() + index + 1, entries.begin() + count, entries.begin() + index);
    --count;
    entries[count] = EventRecord{};
}

void EventList::SortByPing() {
    std::stable_sort(
        entries.begin(), entries.begin() + count,
        [](const EventRecord& a, const EventRecord& b) { return a.pingNumber < b.pingNumber; });
}

std::string StoredAnnotation(std::string_view typed) {
    std::string line;
    for (std::size_t i = 0; i < typed.size() && line.size() < kMaxAnnotation; ++i) {
        const char c = typed[i];
        if (c == '\r' && i + 1 < typed.size() && typed[i + 1] == '\n') continue;
        line += (c == '\n' || c == '\r') ? ' ' : c;
    }
    if (line.empty()) line = "n/a";
    return line + "\n";
}

std::string_view WithoutLineEnd(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    return text;
}

std::string FormatEventList(const EventList& list) {
    std::string text;
    char fraction[64];
    for (int i = 0; i < list.count && i < kMaxEvents; ++i) {
        const EventRecord& event = list.entries[i];
        const auto end = std::to_chars(fraction, fraction + sizeof fraction, event.acrossFraction,
                                       std::chars_format::fixed, 6);
        text += std::to_string(event.number) + "\n" + std::to_string(event.pingNumber) + "\n" +
                std::string(fraction, end.ptr) + "\n";
        for (const std::string* line :
             {&event.date, &event.time, &event.latitude, &event.longitude, &event.annotation}) {
            text += *line;
        }
    }
    return text;
}

namespace {

// One line with a plain LF line end (CR LF becomes LF, the last line of a text without one
// gets one), at most kMaxEventLine characters with its line end: the rest of a longer line is
// skipped. Empty at the end of the text.
std::string NextLine(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    if (start >= text.size()) return {};
    const std::size_t end = text.find('\n', start);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    std::string line(WithoutLineEnd(text.substr(start, pos - start)));
    if (line.size() > kMaxEventLine - 1) line.resize(kMaxEventLine - 1);
    return line + "\n";
}

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    return WithoutLineEnd(line);
}

// The whole number a line starts with (blanks, an optional sign, digits); false without one.
bool LeadingInt(std::string_view line, long& value) {
    std::string copy(line);
    const char* begin = copy.c_str();
    char* end = nullptr;
    value = std::strtol(begin, &end, 10);
    return end != begin;
}

// The decimal fraction a line starts with, with a point whatever the locale; 0 without one.
double LeadingFraction(std::string_view line) {
    line = Trimmed(line);
    if (!line.empty() && line.front() == '+') line.remove_prefix(1);
    double value = 0.0;
    std::from_chars(line.data(), line.data() + line.size(), value);
    return value;
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
        EventRecord event;
        event.number = static_cast<std::int32_t>(number);
        std::array<std::string, 7> lines;
        for (std::string& line : lines) {
            if (pos >= text.size()) return EventParse::CutOff;
            line = NextLine(text, pos);
        }
        long ping = 0;
        LeadingInt(lines[0], ping);
        event.pingNumber = static_cast<std::int32_t>(ping);
        event.acrossFraction = LeadingFraction(lines[1]);
        event.date = lines[2];
        event.time = lines[3];
        event.latitude = lines[4];
        event.longitude = lines[5];
        event.annotation = lines[6];
        list.entries[list.count++] = event;
    }
    return EventParse::Complete;
}
