// Arbitrary event files: read whole and a piece at a time (the pieces' length from the first
// byte), which must give the same events. Every event taken must be one the program could
// have written, and writing the list and reading it back must give it again.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "datafiles/EventFile.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool SameEvent(const EventRecord& a, const EventRecord& b) {
    return a.number == b.number && a.pingNumber == b.pingNumber &&
           a.acrossFraction == b.acrossFraction && a.date == b.date && a.time == b.time &&
           a.latitude == b.latitude && a.longitude == b.longitude && a.annotation == b.annotation;
}

bool OneLine(const std::string& text) {
    return !text.empty() && text.size() <= kMaxEventLine && text.back() == '\n' &&
           text.find('\n') == text.size() - 1;
}

void CheckEvent(const EventRecord& event) {
    Check(event.number >= 0 && event.number <= kMaxEventNumber);
    Check(event.pingNumber >= 0);
    Check(std::isfinite(event.acrossFraction));
    Check(event.acrossFraction >= 0.0 && event.acrossFraction <= 1.0);
    for (const std::string* text :
         {&event.date, &event.time, &event.latitude, &event.longitude, &event.annotation}) {
        Check(OneLine(*text));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    EventList whole;
    const EventFileReading reading = ReadEventText(text, whole);
    Check(whole.count >= 0 && whole.count <= kMaxEvents);
    Check((reading.status == EventParse::Complete) == (reading.line == 0));
    for (int i = 0; i < whole.count; ++i) CheckEvent(whole.entries[static_cast<std::size_t>(i)]);

    // The same text in small pieces: lines split across pieces read the same.
    const std::size_t piece = size > 0 ? 1 + data[0] % 7 : 1;
    EventList pieces;
    const EventFileReading again = ReadEventText(TextInPieces(text, piece), pieces);
    Check(again.status == reading.status && again.line == reading.line);
    Check(pieces.count == whole.count);
    for (int i = 0; i < whole.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        Check(SameEvent(pieces.entries[k], whole.entries[k]));
    }

    // What the program writes of the events it took reads back whole, event for event (the
    // fraction as six decimals).
    EventList back;
    Check(ReadEventText(FormatEventList(whole), back).status == EventParse::Complete);
    Check(back.count == whole.count);
    for (int i = 0; i < whole.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        Check(back.entries[k].annotation == whole.entries[k].annotation);
        Check(std::fabs(back.entries[k].acrossFraction - whole.entries[k].acrossFraction) <=
              5.000001e-7);
    }
    return 0;
}
