// French numbers as the browsers' Intl.NumberFormat("fr-FR") writes them, the texts below theirs:
// shortest digits rounded half away from zero, grouped by narrow no-break spaces.
#include "platform/french_numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace loto {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(FrenchNumbers, AsTheBrowsersWriteThem) {
    const struct {
        double value;
        FrenchDigits digits;
        const char* text;
    } rows[] = {
        {0.0, {.minFraction = 0, .maxFraction = 0}, "0"},
        {-0.0, {.minFraction = 0, .maxFraction = 0}, "-0"},
        {1234.0, {.minFraction = 0, .maxFraction = 0}, "1\u202F234"},
        {2.5, {.minFraction = 0, .maxFraction = 0}, "3"},
        {-2.5, {.minFraction = 0, .maxFraction = 0}, "-3"},
        {999.5, {.minFraction = 0, .maxFraction = 0}, "1\u202F000"},
        {0.125, {.minFraction = 2, .maxFraction = 2}, "0,13"},
        {1.005, {.minFraction = 2, .maxFraction = 2}, "1,01"},
        {-0.001, {.minFraction = 2, .maxFraction = 2}, "-0,00"},
        {0.005, {.minFraction = 2, .maxFraction = 2}, "0,01"},
        {0.0049, {.minFraction = 2, .maxFraction = 2}, "0,00"},
        {99.995, {.minFraction = 2, .maxFraction = 2}, "100,00"},
        {1234567.891, {.minFraction = 2, .maxFraction = 2}, "1\u202F234\u202F567,89"},
        {7.0, {.minFraction = 2, .maxFraction = 2}, "7,00"},
        {1e+57,
         {.maxSignificant = 6},
         "1\u202F000\u202F000\u202F000\u202F000\u202F000\u202F000\u202F000\u202F000\u202F000\u202F0"
         "00\u202F000\u202F000\u202F000\u202F000\u202F000\u202F000\u202F000\u202F000\u202F000"},
        {13983816.0, {.maxSignificant = 6}, "13\u202F983\u202F800"},
        {999999.5, {.maxSignificant = 6}, "1\u202F000\u202F000"},
        {1.2345e-10, {.maxSignificant = 6}, "0,00000000012345"},
        {53.6666666, {.maxSignificant = 6}, "53,6667"},
        {0.30000000000000004, {.maxSignificant = 6}, "0,3"},
        {-1.23456e+21,
         {.maxSignificant = 6},
         "-1\u202F234\u202F560\u202F000\u202F000\u202F000\u202F000\u202F000"},
        {1.30726, {.minFraction = 0, .maxFraction = 4}, "1,3073"},
        {-0.00004, {.minFraction = 0, .maxFraction = 4}, "-0"},
        {-1.2, {.minFraction = 0, .maxFraction = 4}, "-1,2"},
        {1.0005, {.minFraction = 0, .maxFraction = 3}, "1,001"},
        {123456.78951, {.minFraction = 0, .maxFraction = 3}, "123\u202F456,79"},
        {kInfinity, {.minFraction = 0, .maxFraction = 3}, "∞"},
        {-kInfinity, {.maxSignificant = 6}, "-∞"},
    };
    for (const auto& [value, digits, text] : rows) {
        EXPECT_EQ(FrenchNumber(value, digits), text) << value;
    }
}

TEST(FrenchNumbers, CountsAndAmountsFromTheirIntegers) {
    EXPECT_EQ(FrenchCount(0), "0");
    EXPECT_EQ(FrenchCount(999), "999");
    EXPECT_EQ(FrenchCount(18446744073709551615U),
              "18\u202F446\u202F744\u202F073\u202F709\u202F551\u202F615");
    EXPECT_EQ(FrenchAmount(0), "0,00");
    EXPECT_EQ(FrenchAmount(-5), "-0,05");
    EXPECT_EQ(FrenchAmount(123456), "1\u202F234,56");
    EXPECT_EQ(FrenchAmount(-123456789), "-1\u202F234\u202F567,89");
}

}  // namespace
}  // namespace loto
