#include "platform/text_to_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace loto {
namespace {

struct Reading {
    const char* text;
    double value;
};

TEST(TextToNumber, ReadsTheLongestLeadingNumber) {
    const Reading readings[] = {
        {"1 000 000", 1000000},  // blanks removed wherever they stand
        {"1e6", 1000000},
        {"1E6", 1000000},
        {"12,5", 12},  // the comma is no separator: it ends the number
        {"12.5", 12.5},
        {"12abc", 12},
        {"-3", -3},
        {"+3", 3},
        {"- 3", -3},
        {"", 0},
        {"   ", 0},
        {"abc", 0},
        {"-", 0},
        {".", 0},
        {".5", 0.5},
        {"5.", 5},
        {"1.e2", 100},
        {"1.2.3", 1.2},  // a second period ends the number
        {"1e", 1},       // an exponent without digits is not part of it
        {"1e+", 1},
        {"2e-1", 0.2},
        {"1 e 3", 1000},
        {"\t7\n", 7},
        {"7.6", 7.6},
        {"0x1A", 0},  // no radix prefixes
        {"&HFF", 0},
        {"inf", 0},
        {"nan", 0},
        {"1e-999", 0},  // underflow reads as zero
        {"00012", 12},
        {"49.0000000000000000001", 49},
        {"--3", 0},
        {"E999", 0},  // no digit before the exponent: not a number at all
    };
    for (const Reading& r : readings) {
        const std::optional<double> value = TextToNumber(r.text);
        ASSERT_TRUE(value.has_value()) << '"' << r.text << '"';
        EXPECT_EQ(*value, r.value) << '"' << r.text << '"';
    }
}

TEST(TextToNumber, RoundsToTheNearestDouble) {
    EXPECT_EQ(*TextToNumber("0.1"), 0.1);
    EXPECT_EQ(*TextToNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(*TextToNumber("9007199254740993"), 9007199254740992.0);  // tie to even
}

TEST(TextToNumber, BeyondTheDoubleRangeIsUnreadable) {
    for (const char* text : {"1E999", "-1e999", "1e309", "2e308", "9 9 9e9 9 9"}) {
        EXPECT_FALSE(TextToNumber(text).has_value()) << text;
    }
}

TEST(TextToNumber, LongTextsAreRead) {
    const std::string digits(5000, '9');
    EXPECT_FALSE(TextToNumber(digits).has_value());  // 10^5000 - 1
    EXPECT_EQ(*TextToNumber("0." + digits), 1.0);
    EXPECT_EQ(*TextToNumber(std::string(100000, 'x')), 0);
}

}  // namespace
}  // namespace loto
