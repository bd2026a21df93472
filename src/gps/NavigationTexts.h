#pragma once
// The six navigation texts stamped into every stored ping and every image row, in the order
// latitude, longitude, speed, course, date, time. Fixed-size so that copying a row stamp never
// allocates.

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

// A zero-terminated text of at most N - 1 characters; longer input is cut.
template <std::size_t N>
class FixedText {
public:
    FixedText() = default;
    FixedText(std::string_view value) { Assign(value); }  // NOLINT: implicit on purpose

    void Assign(std::string_view value) {
        const std::size_t n = value.size() < N - 1 ? value.size() : N - 1;
        std::memcpy(text, value.data(), n);
        std::memset(text + n, 0, N - n);
    }
    void Clear() { std::memset(text, 0, N); }
    std::string_view View() const {
        std::size_t n = 0;
        while (n < N && text[n] != 0) ++n;
        return std::string_view(text, n);
    }
    bool Empty() const { return text[0] == 0; }
    friend bool operator==(const FixedText& a, std::string_view b) { return a.View() == b; }
    friend bool operator==(const FixedText& a, const FixedText& b) { return a.View() == b.View(); }

    static constexpr std::size_t kCapacity = N - 1;

private:
    char text[N]{};
};

using NavText = FixedText<40>;

enum NavTextIndex : int {
    kNavLatitude = 0,
    kNavLongitude = 1,
    kNavSpeed = 2,
    kNavCourse = 3,
    kNavDate = 4,
    kNavTime = 5,
};
inline constexpr int kNavTextCount = 6;

using NavigationTexts = std::array<NavText, kNavTextCount>;

// The GPS reader shows "n/a" until a sentence gave a value; an empty text means no reader
// existed when the ping was stored.
inline bool NavTextKnown(const NavText& text) {
    return !text.Empty() && !(text == "n/a");
}
