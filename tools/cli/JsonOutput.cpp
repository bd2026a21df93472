#include "JsonOutput.h"

#include "common/TextEncoding.h"

namespace cli {

std::string JsonText(const std::string& bytes) {
    return Utf8OrLatin1(bytes);
}

std::string DumpJson(const nlohmann::ordered_json& value, bool newline) {
    return value.dump(-1, ' ', true) + (newline ? "\n" : "");
}

}  // namespace cli
