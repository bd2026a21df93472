#pragma once
// Text from files written by other programs (event annotations, recorded sentences) for
// outputs that must be UTF-8: valid UTF-8 passes as it is, anything else is read as Latin-1,
// so that no byte is lost and the output stays valid.

#include <string>
#include <string_view>

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsUtf8(std::string_view bytes);

std::string Utf8OrLatin1(std::string_view bytes);
