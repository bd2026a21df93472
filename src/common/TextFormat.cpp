#include "common/TextFormat.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

// The C locale as an object of its own, made once; switched to for the calling thread only,
// so that another thread's formatting is never affected.
locale_t ClassicLocale() {
    static const locale_t classic = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return classic;
}

class ClassicNumbers {
public:
    ClassicNumbers() : previous(ClassicLocale() ? ::uselocale(ClassicLocale()) : nullptr) {}
    ~ClassicNumbers() {
        if (previous) ::uselocale(previous);
    }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    locale_t previous;
};

}  // namespace

std::string Printf(const char* format, ...) {
    const ClassicNumbers classic;
    char text[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string result;
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof text) {
        result.assign(text, static_cast<std::size_t>(length));
    } else if (length > 0) {
        result.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(result.data(), result.size(), format, again);
        result.resize(static_cast<std::size_t>(length));
    }
    va_end(again);
    return result;
}

std::optional<double> ParseNumber(std::string_view text) {
    // from_chars takes no '+', which people and other programs write; "+-1" stays wrong.
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
