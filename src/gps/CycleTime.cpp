#include "gps/CycleTime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

// Copies at most n characters of text and terminates them inside the destination.
template <std::size_t N>
void CopyPrefix(std::array<char, N>& out, const char* text, std::size_t n) {
    out.fill(0);
    const std::size_t length = std::min({std::strlen(text), n, N - 1});
    std::memcpy(out.data(), text, length);
}

std::size_t BoundedLength(const char* text, std::size_t n) {
    std::size_t length = 0;
    while (length < n && text[length] != 0) ++length;
    return length;
}

}  // namespace

std::uint32_t CycleClockMs(const CycleTime& time) {
    using namespace std::chrono;
    const year_month_day date{year{time.year}, month{time.month}, day{time.day}};
    const long long days = date.ok() ? sys_days(date).time_since_epoch().count() : 0;
    const long long ms = ((days * 24 + time.hour) * 60 + time.minute) * 60000LL +
                         time.second * 1000LL + time.milliseconds;
    return static_cast<std::uint32_t>(static_cast<unsigned long long>(ms));
}

const char* MonthAbbreviation(int month) {
    static const char* const kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "";
}

void CycleTime::Stamp(const LocalTime& now) {
    year = static_cast<std::uint16_t>(now.year);
    month = static_cast<std::uint16_t>(now.month);
    dayOfWeek = static_cast<std::uint16_t>(now.dayOfWeek);
    day = static_cast<std::uint16_t>(now.day);
    hour = static_cast<std::uint16_t>(now.hour);
    minute = static_cast<std::uint16_t>(now.minute);
    second = static_cast<std::uint16_t>(now.second);
    milliseconds = static_cast<std::uint16_t>(now.millisecond);

    char text[64];
    std::snprintf(text, sizeof text, "%02d-%s-%04d", day, MonthAbbreviation(month), year);
    CopyPrefix(cycleDateText, text, 11);
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
    CopyPrefix(cycleClockText, text, 8);
    std::snprintf(text, sizeof text, ".%03d", milliseconds);
    CopyPrefix(cycleMillisText, text, 4);
}

std::array<char, 12> CycleTime::PingTime() const {
    std::array<char, 12> time{};
    const std::size_t clock = BoundedLength(cycleClockText.data(), 8);
    std::memcpy(time.data(), cycleClockText.data(), clock);
    const std::size_t millis = BoundedLength(cycleMillisText.data(), 4);
    std::memcpy(time.data() + 8, cycleMillisText.data(), millis);
    return time;
}
