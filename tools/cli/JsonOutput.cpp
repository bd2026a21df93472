#include "JsonOutput.h"

namespace cli {

namespace {

bool IsUtf8(const std::string& bytes) {
    try {
        (void)nlohmann::json(bytes).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

}  // namespace

std::string JsonText(const std::string& bytes) {
    if (IsUtf8(bytes)) return bytes;
    std::string text;
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

std::string DumpJson(const nlohmann::ordered_json& value, bool newline) {
    return value.dump(-1, ' ', true) + (newline ? "\n" : "");
}

}  // namespace cli
