#pragma once
// JSON output of the tools through nlohmann-json: keys in the order they are added, one line,
// ASCII only (anything else as \u escapes), so that any terminal or parser reads it.

#include <nlohmann/json.hpp>

#include <string>

namespace cli {

// Text for a JSON string: UTF-8 as it is; bytes that are not UTF-8 are taken as Latin-1, so
// that nothing is lost and the output stays valid.
std::string JsonText(const std::string& bytes);

// The value as one line of JSON, with a line break at the end when `newline`.
std::string DumpJson(const nlohmann::ordered_json& value, bool newline = true);

}  // namespace cli
