#include "common/TextEncoding.h"

namespace {

// The length of the sequence that starts with this byte and the range its second byte must
// lie in; 0 for a byte no sequence starts with.
struct Lead {
    int length;
    unsigned char low, high;
};

Lead LeadOf(unsigned char byte) {
    if (byte < 0x80) return {1, 0, 0};
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
    if (byte == 0xE0) return {3, 0xA0, 0xBF};  // no overlong three-byte forms
    if (byte == 0xED) return {3, 0x80, 0x9F};  // no surrogates
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
    if (byte == 0xF0) return {4, 0x90, 0xBF};  // no overlong four-byte forms
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
    if (byte == 0xF4) return {4, 0x80, 0x8F};  // nothing past U+10FFFF
    return {0, 0, 0};
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const Lead lead = LeadOf(static_cast<unsigned char>(bytes[i]));
        if (lead.length == 0 || i + static_cast<std::size_t>(lead.length) > bytes.size()) {
            return false;
        }
        for (int k = 1; k < lead.length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            const unsigned char low = k == 1 ? lead.low : 0x80, high = k == 1 ? lead.high : 0xBF;
            if (next < low || next > high) return false;
        }
        i += static_cast<std::size_t>(lead.length);
    }
    return true;
}

std::string Utf8OrLatin1(std::string_view bytes) {
    if (IsUtf8(bytes)) return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}
