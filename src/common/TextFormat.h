#pragma once
// Number texts that read the same in every locale. Qt takes the C library's locale from the
// environment when the application object is made, and under a decimal-comma locale
// (de_DE.UTF-8) printf's "%.1f" writes "2,5": a CSV row gains columns, an NMEA sentence or a
// KML box is no longer read by anyone, and the read-outs lose the form they are given. Every
// formatted number of the program goes through Printf, and every number read from a text
// through ParseNumber; both always use the decimal point.

#include <optional>
#include <string>
#include <string_view>

// printf-style formatting into a std::string ("%d m", "%.1f C", "P: %.1f m"), in the C
// locale whatever the process's locale is.
__attribute__((format(printf, 1, 2))) std::string Printf(const char* format, ...);

// The whole text as a finite number with a decimal point ("2.5", "-3", "1e3"); nothing for
// an empty text, a decimal comma, blanks, trailing characters, "inf", "nan" or a value out of
// range.
std::optional<double> ParseNumber(std::string_view text);
