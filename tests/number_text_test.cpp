#include "platform/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "platform/decimal_digits.h"

namespace loto {
namespace {

constexpr std::string_view kExpected = "##0.########";
constexpr std::string_view kDeviation = "#####0.#####";

TEST(NumberText, PatternsRender) {
    // The value, the pattern, the decimal separator and the text.
    const std::tuple<double, std::string_view, std::string_view, const char*> renderings[] = {
        {12.345678, kDeviation, ".", "12.34568"},
        {1.5, "#.", ",", "2,"},         // the separator stays when no fraction is left
        {-0.0, kDeviation, ",", "0,"},  // no sign on zero, nor on what rounds to zero
        {-0.000001, kDeviation, ",", "0,"},
        {-0.000006, kDeviation, ",", "-0,00001"},
        {1234567.125, kDeviation, ",", "1234567,125"},  // all integer digits, no grouping
        {0.999999999, kExpected, ",", "1,"},
        {1e20, kExpected, ",", "100000000000000000000,"},
        {5, "000.##", ",", "005,"},
        {0.25, "#.##", ",", ",25"},
        {7.5, "0", ",", "8"},
        {std::numeric_limits<double>::infinity(), kDeviation, ",", ""},
        {std::numeric_limits<double>::quiet_NaN(), kDeviation, ",", ""},
    };
    for (const auto& [value, pattern, separator, text] : renderings) {
        EXPECT_EQ(FormatPattern(value, pattern, separator), text) << value << " with " << pattern;
    }
}

TEST(NumberText, SinglesRoundToSevenSignificantDigitsFirst) {
    const std::pair<float, const char*> renderings[] = {
        {435.9649658203125f, "435,965"},  // k = 0 at N = 1000: 435.9650 to seven digits
        {1.0f, "1,"},
        {6096454.0f, "6096454,"},
        {3.0e10f, "30000000000,"},
        {-5.535e-5f, "-0,00005535"},
        {std::numeric_limits<float>::infinity(), ""},
    };
    for (const auto& [value, text] : renderings) {
        EXPECT_EQ(FormatSinglePattern(value, kExpected, ","), text) << value;
    }
}

TEST(NumberText, CountsArePlainDigits) {
    const std::pair<double, const char*> counts[] = {
        {-0.0, "0"},  {1e15, "1000000000000000"},     {-3, "-3"},
        {2.5, "2,5"}, {1.0 / 3, "0,333333333333333"},
    };
    for (const auto& [value, text] : counts) {
        EXPECT_EQ(CountToText(value, ","), text) << value;
    }
}

// The web build writes and reads its digits with C's snprintf and strtod: they give the texts of
// std::to_chars and std::from_chars, on halfway cases, huge and tiny values and what the commands
// write (a geometric sweep through every magnitude, with fractions that do not end).
TEST(NumberText, DigitsOfCAndOfTheStandardLibraryAgree) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  1.5,
                                  2.5,
                                  0.125,
                                  1e-5,
                                  1e15,
                                  1e16,
                                  1e20,
                                  123456789012345678.0,
                                  -43.59649658203125,
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::denorm_min()};
    for (double v = 1e-12; v < 1e300; v *= 7.3) {
        values.push_back(v / 3);
    }
    for (const double value : values) {
        for (const auto& [form, precision] : {std::pair{DigitsForm::Fixed, 0},
                                              {DigitsForm::Fixed, 8},
                                              {DigitsForm::General, 15},
                                              {DigitsForm::Scientific, 6}}) {
            const std::string text = digits::Standard(value, form, precision);
            EXPECT_EQ(digits::C(value, form, precision), text) << value;
        }
        // The shortest digits, and their layout as to_chars lays them out.
        char text[64];
        EXPECT_EQ(digits::ShortestC(value), digits::ShortestStandard(value)) << value;
        EXPECT_EQ(ShortestText(value),
                  std::string(text, std::to_chars(text, text + 64, value).ptr));
        if (const auto narrow = static_cast<float>(value); std::isfinite(narrow)) {
            EXPECT_EQ(digits::ShortestC(narrow), digits::ShortestStandard(narrow)) << narrow;
            EXPECT_EQ(ShortestText(narrow),
                      std::string(text, std::to_chars(text, text + 64, narrow).ptr));
        }
        // What is read back: a Single's seven significant digits.
        const std::string single =
            digits::Standard(static_cast<float>(value), DigitsForm::Scientific, 6);
        EXPECT_EQ(digits::ReadC(single), digits::ReadStandard(single)) << single;
    }
    for (const char* unreadable : {"", "-", "x"}) {  // neither reads a number: 0
        EXPECT_EQ(std::pair(digits::ReadC(unreadable), digits::ReadStandard(unreadable)),
                  std::pair(0.0, 0.0))
            << unreadable;
    }
}

}  // namespace
}  // namespace loto
