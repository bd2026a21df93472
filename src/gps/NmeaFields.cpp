#include "gps/NmeaFields.h"

#include <charconv>

CommaPositions::CommaPositions(std::string_view sentence) {
    for (std::size_t i = 0; i < sentence.size() && found < kMax; ++i) {
        if (sentence[i] == ',') positions[static_cast<std::size_t>(++found)] = i;
    }
}

bool ReadDecimal(std::string_view text, double& value) {
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    std::size_t end = start;
    std::size_t digits = 0;
    bool point = false;
    for (; end < text.size(); ++end) {
        if (IsDigit(text[end])) {
            ++digits;
        } else if (text[end] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    double parsed = 0.0;
    const auto result =
        std::from_chars(text.data() + start, text.data() + end, parsed, std::chars_format::fixed);
    if (result.ec != std::errc()) return false;
    value = parsed;
    return true;
}

int LeadingDigits(std::string_view text, std::size_t n) {
    int value = 0;
    for (std::size_t i = 0; i < n && i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

namespace {

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

Checksum CheckSentence(std::string_view sentence) {
    const std::size_t star = sentence.find('*');
    if (star == std::string_view::npos) return Checksum::Absent;
    if (star + 2 >= sentence.size()) return Checksum::Invalid;
    const int high = HexValue(sentence[star + 1]);
    const int low = HexValue(sentence[star + 2]);
    if (high < 0 || low < 0) return Checksum::Invalid;
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(sentence[i]);
    return sum == static_cast<unsigned>(high * 16 + low) ? Checksum::Valid : Checksum::Invalid;
}

std::string OneDecimal(double value, std::string_view suffix) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    std::string out(text, result.ec == std::errc() ? result.ptr : text);
    out += suffix;
    return out;
}
