#include "datafiles/EventFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

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

// The lines of an event file, read from its source a piece at a time. A line comes with a plain
// LF line end (the last line of a text without one gets one), without the CRs before it (CR LF
// files; a CR kept there would be read back as a line end after a save), and at most
// kMaxEventLine characters with its line end: the rest of a longer line is skipped.
class LineReader {
public:
    explicit LineReader(const EventTextSource& source) : source(source) {}

    // False at the end of the text.
    bool Next(std::string& line) {
        if (!Fill()) return false;
        ++number;
        line.clear();
        while (Fill()) {
            const char c = buffer[at++];
            if (c == '\n') break;
            if (line.size() < kMaxEventLine - 1) line += c;
        }
        while (!line.empty() && line.back() == '\r') line.pop_back();
        line += '\n';
        return true;
    }
    bool AtEnd() { return !Fill(); }
    // The number of the line Next gave last (the first line is 1).
    int Number() const { return number; }

private:
    // True while there is text left to take.
    bool Fill() {
        if (at < filled) return true;
        if (ended) return false;
        filled = source(buffer.data(), buffer.size());
        at = 0;
        ended = filled == 0;
        return !ended;
    }

    const EventTextSource& source;
    std::array<char, 16384> buffer{};
    std::size_t at = 0, filled = 0;
    bool ended = false;
    int number = 0;
};

std::string_view Trimmed(std::string_view line) {
    line = WithoutLineEnd(line);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

// A whole line that is a whole number from `low` to `high`.
bool WholeNumberLine(std::string_view line, long long low, long long high, long long& value) {
    line = Trimmed(line);
    if (!line.empty() && line.front() == '+') line.remove_prefix(1);
    const char* end = line.data() + line.size();
    const auto [ptr, ec] = std::from_chars(line.data(), end, value);
    return ec == std::errc() && ptr == end && ptr != line.data() && value >= low && value <= high;
}

// A whole line that is a decimal number from 0 to 1, with a point whatever the locale.
bool FractionLine(std::string_view line, double& value) {
    line = Trimmed(line);
    if (!line.empty() && line.front() == '+') line.remove_prefix(1);
    const char* end = line.data() + line.size();
    const auto [ptr, ec] = std::from_chars(line.data(), end, value, std::chars_format::general);
    return ec == std::errc() && ptr == end && ptr != line.data() && std::isfinite(value) &&
           value >= 0.0 && value <= 1.0;
}

// What a refused line held, shortened for a message.
std::string Quoted(std::string_view line) {
    line = WithoutLineEnd(line);
    constexpr std::size_t kShown = 40;
    return "\"" + std::string(line.substr(0, kShown)) + (line.size() > kShown ? "..." : "") + "\"";
}

EventFileReading Stopped(EventParse status, int line, std::string reason) {
    return EventFileReading{status, line, std::move(reason)};
}

}  // namespace

std::string EventFileReading::Where() const {
    if (status == EventParse::Complete) return {};
    return "line " + std::to_string(line) + ": " + reason;
}

EventFileReading ReadEventText(const EventTextSource& source, EventList& list) {
    list.count = 0;
    LineReader reader(source);
    std::string first;
    while (reader.Next(first)) {
        const int start = reader.Number();
        if (list.count == kMaxEvents) {
            return Stopped(EventParse::Full, start, "more than 100 events: the 101st starts here");
        }
        long long number = -1;
        if (!WholeNumberLine(first, 0, kMaxEventNumber, number)) {
            return Stopped(EventParse::Damaged, start,
                           "event number " + Quoted(first) + " is not a whole number from 0 to " +
                               std::to_string(kMaxEventNumber));
        }
        std::array<std::string, 7> lines;
        for (std::string& line : lines) {
            if (!reader.Next(line)) {
                return Stopped(EventParse::CutOff, start,
                               "the event that starts here ends before its eighth line");
            }
        }
        EventRecord event;
        event.number = static_cast<std::int32_t>(number);
        long long ping = 0;
        if (!WholeNumberLine(lines[0], 0, std::numeric_limits<std::int32_t>::max(), ping)) {
            return Stopped(
                EventParse::Damaged, start + 1,
                "ping number " + Quoted(lines[0]) + " is not a whole number from 0 to 2147483647");
        }
        event.pingNumber = static_cast<std::int32_t>(ping);
        if (!FractionLine(lines[1], event.acrossFraction)) {
            return Stopped(
                EventParse::Damaged, start + 2,
                "across-track fraction " + Quoted(lines[1]) + " is not a number from 0 to 1");
        }
        event.date = std::move(lines[2]);
        event.time = std::move(lines[3]);
        event.latitude = std::move(lines[4]);
        event.longitude = std::move(lines[5]);
        event.annotation = std::move(lines[6]);
        list.entries[static_cast<std::size_t>(list.count++)] = std::move(event);
    }
    return {};
}

EventTextSource TextInPieces(std::string_view text, std::size_t piece) {
    return [text, piece](char* buffer, std::size_t size) mutable {
        const std::size_t n = std::min({size, piece, text.size()});
        std::copy_n(text.data(), n, buffer);
        text.remove_prefix(n);
        return n;
    };
}

EventFileReading ReadEventText(std::string_view text, EventList& list) {
    return ReadEventText(TextInPieces(text, text.size()), list);
}
