#pragma once
// Reading the fields of one NMEA sentence: comma positions, numbers and the checksum. Numbers
// are read without the C library's locale (which Qt sets from the environment, so that a
// decimal-comma locale would read "4807.038" as 4807) and only from decimal digits with at
// most one decimal point: no sign, exponent, "inf", "nan" or hex ever becomes a value.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The positions of the first commas of a sentence; comma k (1-based) ends field k - 1.
class CommaPositions {
public:
    static constexpr int kMax = 16;
    explicit CommaPositions(std::string_view sentence);
    // Whether commas 1..k all exist.
    bool Has(int k) const { return k <= found; }
    std::size_t operator[](int k) const { return positions[static_cast<std::size_t>(k)]; }

private:
    std::array<std::size_t, kMax + 1> positions{};
    int found = 0;
};

// The text between two commas (open and close are comma positions, open < close).
inline std::string_view FieldBetween(std::string_view sentence, std::size_t open,
                                     std::size_t close) {
    return sentence.substr(open + 1, close - open - 1);
}

// A decimal number at the start of text, after leading blanks: digits with at most one
// decimal point and at least one digit. False (value untouched) when there is none.
bool ReadDecimal(std::string_view text, double& value);
// Leading decimal digits of at most n characters (no blanks, no sign); 0 when there are none.
int LeadingDigits(std::string_view text, std::size_t n);
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class Checksum { Absent, Valid, Invalid };
// A sentence carrying "*hh" (hex, either case) is valid when hh is the exclusive or of the
// characters between the '$' and the '*'. A '*' without two hex digits is invalid.
Checksum CheckSentence(std::string_view sentence);

// "%.1f" followed by a suffix, always with a decimal point.
std::string OneDecimal(double value, std::string_view suffix);
