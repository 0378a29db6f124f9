#include "platform/text_to_number.h"

#include <gtest/gtest.h>

#include <string>

namespace loto {
namespace {

// The longest leading number, blanks removed wherever they stand, the period as the only
// separator; nothing is refused, but a number beyond the Double range cannot be read.
TEST(TextToNumber, ReadsTheLongestLeadingNumber) {
    const std::pair<std::string, std::optional<double>> readings[] = {
        {"1 0\n0\t0", 1000},
        {"1\u00A0000\u202F000", 1000000},
        {"2\xC2"
         "0",
         2},  // half a no-break space ends the number
        {"1E6", 1000000},
        {"12,5", 12},
        {"12.5", 12.5},
        {"+3", 3},
        {"- 3", -3},
        {"", 0},
        {".5", 0.5},
        {"5.", 5},
        {"1.2.3", 1.2},
        {"1e+", 1},
        {"2e-1", 0.2},
        {"0x1A", 0},
        {"&HFF", 0},
        {"inf", 0},
        {"1e-999", 0},
        {"--3", 0},
        {"E999", 0},
        {"1E999", std::nullopt},
        {"-1e999", std::nullopt},
        {"9 9 9e9 9 9", std::nullopt},
        {std::string(5000, '9'), std::nullopt},
        {std::string(100000, 'x'), 0},
    };
    for (const auto& [text, value] : readings) {
        EXPECT_EQ(TextToNumber(text), value) << '"' << text.substr(0, 20) << '"';
    }
}

}  // namespace
}  // namespace loto
