#pragma once
// printf-style formatting into a std::string, for the short display texts of the program
// ("%d m", "%.1f C", "P: %.1f m"); a text longer than 255 characters is cut.

#include <cstdarg>
#include <cstdio>
#include <string>

__attribute__((format(printf, 1, 2))) inline std::string Printf(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}
