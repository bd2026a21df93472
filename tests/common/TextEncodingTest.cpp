// Text for UTF-8 outputs: well-formed UTF-8 kept, anything else read as Latin-1.

#include <gtest/gtest.h>

#include "common/TextEncoding.h"

namespace {

TEST(TextEncodingTest, WellFormedUtf8IsTold) {
    struct Case {
        const char* bytes;
        bool utf8;
    };
    const Case cases[] = {
        {"", true},
        {"plain", true},
        {"caf\xC3\xA9", true},
        {"\xE2\x82\xAC 5", true},     // the euro sign
        {"\xF0\x9F\x90\x9F", true},   // a fish, four bytes
        {"caf\xE9", false},           // Latin-1
        {"\xC3", false},              // cut short
        {"\xC0\xAF", false},          // overlong
        {"\xE0\x80\xAF", false},      // overlong, three bytes
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\x80", false},              // a continuation byte alone
        {"\xE2\x82", false},          // cut inside
        {"\xE2\x28\xA1", false},      // a bad continuation byte
    };
    for (const Case& c : cases) EXPECT_EQ(IsUtf8(c.bytes), c.utf8) << c.bytes;
}

TEST(TextEncodingTest, OtherBytesAreReadAsLatin1) {
    EXPECT_EQ(Utf8OrLatin1("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(Utf8OrLatin1("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(Utf8OrLatin1("\xB0 N"), "\xC2\xB0 N");
    EXPECT_TRUE(IsUtf8(Utf8OrLatin1("\xFF\xFE\x80")));
}

}  // namespace
