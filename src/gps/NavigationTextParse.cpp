#include "gps/NavigationTextParse.h"

#include <charconv>

#include "gps/CycleTime.h"
#include "gps/NmeaFields.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The digits at the front of text, moved past.
std::string_view TakeDigits(std::string_view& text) {
    std::size_t n = 0;
    while (n < text.size() && IsDigit(text[n])) ++n;
    const std::string_view digits = text.substr(0, n);
    text.remove_prefix(n);
    return digits;
}

bool TakeChar(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

double Number(std::string_view digits) {
    double value = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    return value;
}

// Days of a month of the Gregorian calendar.
int DaysInMonth(int year, int month) {
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool Negative(char letter, bool latitude) {
    return latitude ? (letter == 'S' || letter == 's') : (letter == 'W' || letter == 'w');
}

}  // namespace

std::string_view TrimmedText(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> ParseCoordinateText(std::string_view text, bool latitude) {
    // Leading blanks are no part of the form; a blank letter is (it may be all that follows).
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
    const std::string_view degrees = TakeDigits(text);
    if (degrees.size() > (latitude ? 2u : 3u) || !TakeChar(text, '.')) return std::nullopt;
    const std::string_view minutesStart = text;
    if (TakeDigits(text).size() != 2 || !TakeChar(text, '.')) return std::nullopt;
    TakeDigits(text);
    const std::string_view minutesText = minutesStart.substr(0, minutesStart.size() - text.size());
    char letter = ' ';
    if (!text.empty()) {
        if (!TakeChar(text, ' ')) return std::nullopt;
        if (!text.empty()) letter = text.front(), text.remove_prefix(1);
        if (!TrimmedText(text).empty()) return std::nullopt;
    }
    const double minutes = Number(minutesText);
    const double value = (degrees.empty() ? 0.0 : Number(degrees)) + minutes / 60.0;
    if (minutes >= 60.0 || value > (latitude ? 90.0 : 180.0)) return std::nullopt;
    return Negative(letter, latitude) ? -value : value;
}

std::optional<std::string> IsoDateOfText(std::string_view text) {
    text = TrimmedText(text);
    if (text.size() != 11 || text[2] != '-' || text[6] != '-') return std::nullopt;
    const std::string_view day = text.substr(0, 2), name = text.substr(3, 3),
                           year = text.substr(7, 4);
    int month = 0;
    for (int m = 1; m <= 12; ++m) {
        if (name == MonthAbbreviation(m)) month = m;
    }
    for (const std::string_view digits : {day, year}) {
        for (char c : digits) {
            if (!IsDigit(c)) return std::nullopt;
        }
    }
    // A receiver's checksummed "310299" is no day: no date rather than 1999-02-31.
    const int dayNumber = LeadingDigits(day, 2);
    if (month == 0 || dayNumber < 1 || dayNumber > DaysInMonth(LeadingDigits(year, 4), month)) {
        return std::nullopt;
    }
    std::string iso;
    iso.append(year).append("-");
    iso.push_back(static_cast<char>('0' + month / 10));
    iso.push_back(static_cast<char>('0' + month % 10));
    iso.append("-").append(day);
    return iso;
}
