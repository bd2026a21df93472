#pragma once
// The local time stamp of the current polling cycle and its three texts, which the ping
// history and the data file store with every ping.

#include <array>
#include <cstdint>

#include "platform/Platform.h"

struct CycleTime {
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
    std::array<char, 12> cycleDateText{};   // "04-JUL-2009" and a zero byte
    std::array<char, 9> cycleClockText{};   // "09:05:03" and a zero byte
    std::array<char, 5> cycleMillisText{};  // ".007" and a zero byte

    // Takes the clock reading and formats the three texts.
    void Stamp(const LocalTime& now);
    // The 12-character ping time: the clock text followed by the milliseconds text, no
    // terminator (shorter texts are padded with zero bytes).
    std::array<char, 12> PingTime() const;
};

// The stamp as milliseconds since 1970-01-01 (read as UTC), modulo 2^32: a clock for ages
// measured across played records. A stamp without a valid date counts from day 0.
std::uint32_t CycleClockMs(const CycleTime& time);

// "JAN" .. "DEC" for months 1..12, "" for anything else.
const char* MonthAbbreviation(int month);
