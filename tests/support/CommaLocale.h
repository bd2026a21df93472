#pragma once
// The C library's locale switched to German, whose decimal separator is a comma, as
// QApplication switches it for an operator whose environment says LANG=de_DE.UTF-8; the
// previous locale comes back at the end of the scope. scripts/setup generates the locale, so
// a test that needs it fails (with the reason) rather than skips when it is missing.

#include <clocale>
#include <string>

class CommaLocale {
public:
    static constexpr const char* kName = "de_DE.UTF-8";
    static constexpr const char* kMissing =
        "the locale de_DE.UTF-8 is not installed: scripts/setup generates it";

    CommaLocale() : previous(std::setlocale(LC_ALL, nullptr)) {
        active = std::setlocale(LC_ALL, kName) != nullptr &&
                 std::string(std::localeconv()->decimal_point) == ",";
    }
    ~CommaLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // True when the C library now writes "2,5" for 2.5.
    bool Active() const { return active; }

private:
    std::string previous;
    bool active = false;
};
