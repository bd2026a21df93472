#include "common/TextFormat.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

#include "support/CommaLocale.h"

namespace {

TEST(TextFormatTest, PrintfWritesADecimalPointUnderACommaLocale) {
    const CommaLocale german;
    ASSERT_TRUE(german.Active()) << CommaLocale::kMissing;
    // What the C library itself now writes, and what Printf must not.
    char plain[16];
    std::snprintf(plain, sizeof plain, "%.1f", 2.5);
    ASSERT_STREQ(plain, "2,5");
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {Printf("%.1f", 2.5), "2.5"},
        {Printf("%d,%.4f,%.4f,", 7, 1.25, -3.0), "7,1.2500,-3.0000,"},
        {Printf("D: %5.1f m", 12.25), "D:  12.2 m"},
        {Printf("%g m", 0.5), "0.5 m"},
        {Printf("%.9f", 48.123456789), "48.123456789"},
        {Printf("%e", 1500.0), "1.500000e+03"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

TEST(TextFormatTest, PrintfLeavesTheProgramsLocaleAsItWas) {
    const CommaLocale german;
    ASSERT_TRUE(german.Active()) << CommaLocale::kMissing;
    EXPECT_EQ(Printf("%.2f", 0.25), "0.25");
    char plain[16];
    std::snprintf(plain, sizeof plain, "%.2f", 0.25);
    EXPECT_STREQ(plain, "0,25");
    // Another thread formats in the same process at the same time.
    std::string fromThread;
    std::thread other([&fromThread] { fromThread = Printf("%.1f", -1.5); });
    other.join();
    EXPECT_EQ(fromThread, "-1.5");
}

TEST(TextFormatTest, PrintfKeepsLongTextsWhole) {
    const std::string annotation(700, 'x');
    const std::string text = Printf("<%s>%.1f", annotation.c_str(), 1.5);
    EXPECT_EQ(text.size(), 705u);
    EXPECT_EQ(text.substr(698), "xxx>1.5");
    EXPECT_EQ(Printf("%s", ""), "");
}

TEST(TextFormatTest, ParseNumberReadsOnlyAWholeFiniteNumberWithAPoint) {
    const CommaLocale german;
    ASSERT_TRUE(german.Active()) << CommaLocale::kMissing;
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"2.5", 2.5},
        {"-3", -3.0},
        {"+4.25", 4.25},
        {"1e3", 1000.0},
        {"0", 0.0},
        {".5", 0.5},
        {"2,5", std::nullopt},
        {" 2", std::nullopt},
        {"2 ", std::nullopt},
        {"2.5x", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"+-1", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"1e400", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
