// The numbers of loto-sim's JSON, each written from its own value: the same bytes as writing its
// shortest digits and reading them back as JSON gave, which the JSON's readers have known.
#include "export/json_numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <limits>

namespace loto {
namespace {

using nlohmann::json;

template <typename Number>
std::string ReadBack(Number value) {
    char text[64];
    return json::parse(std::string(text, std::to_chars(text, text + sizeof text, value).ptr))
        .dump();
}

// The significant digits of a number's text.
std::string Significant(const std::string& text) {
    std::string digits;
    for (const char c : text.substr(0, text.find('e'))) {
        if (c >= '0' && c <= '9' && !(digits.empty() && c == '0')) {
            digits += c;
        }
    }
    return digits.erase(digits.find_last_not_of('0') + 1);
}

// Singles of every magnitude and of few and many digits: whole ones, tenths of a thousandth, an
// expected count of a huge run, and a spread over every exponent. Each is written by its own
// shortest digits, which read back as it; where reading those digits back as a Double and writing
// it gave them too, the bytes are those. (Writing the Double back lost the shortest digits of a
// Single in about one case in two thousand, 8.3394007e-19 becoming 8.3394006999999995e-19.)
TEST(JsonNumbers, AsTheirShortestDigitsReadBack) {
    std::vector<float> singles = {
        0.0f,          -0.0f,     1.0f,        258.0f,        6096454.0f,     43.596497f, 0.0005f,
        7.151124e-06f, 1e7f,      1e-5f,       3.4e38f,       -2.5f,          0.1f,       1e15f,
        1.5e16f,       123456.7f, 0.00184499f, 4.359649e+09f, 1.17549435e-38f};
    for (std::uint32_t bits = 0x00800000; bits < 0x7F800000; bits += 0x000F4243) {
        singles.push_back(std::bit_cast<float>(bits));
    }
    int readBackLonger = 0;
    for (const float single : singles) {
        const std::string written = DumpJson(JsonSingle(single));
        EXPECT_EQ(json::parse(written).get<float>(), single) << written;
        char shortest[64];
        EXPECT_EQ(Significant(written),
                  Significant({shortest, std::to_chars(shortest, shortest + 64, single).ptr}));
        const std::string readBack = ReadBack(single);
        if (Significant(readBack) == Significant(written)) {
            EXPECT_EQ(written, readBack);
        } else {
            ++readBackLonger;
        }
    }
    EXPECT_LT(readBackLonger, static_cast<int>(singles.size()) / 20);
    for (const double value : {-100.0, 0.0, 13.796094358790207, 1e20, 0.0001, -3e-7, 2.5e15}) {
        EXPECT_EQ(DumpJson(JsonDouble(value)), ReadBack(value)) << value;
    }
    // Doubles of every magnitude read back as themselves, the whole ones past 2^63 among them,
    // whose shortest digits have no point up to about 10^22.
    std::vector<double> doubles = {9223372036854775808.0,
                                   -9223372036854775808.0,
                                   9223372036854774784.0,
                                   428786696323047750000.0,
                                   1e22,
                                   -1.2345678901234568e19,
                                   1.7976931348623157e308};
    for (std::uint64_t bits = 1; bits < 0x7FF0000000000000; bits += 0x0000F4243F4243F4) {
        doubles.push_back(std::bit_cast<double>(bits));
        doubles.push_back(-std::bit_cast<double>(bits));
    }
    for (double power = 1; power < 1e300; power *= 2) {
        doubles.push_back(power);
    }
    for (const double value : doubles) {
        const std::string written = DumpJson(JsonDouble(value));
        EXPECT_EQ(json::parse(written).get<double>(), value) << written;
    }
    const json none = {JsonSingle(std::nullopt),
                       JsonDouble(std::numeric_limits<double>::infinity())};
    EXPECT_EQ(DumpJson(none), "[null,null]");
    EXPECT_EQ(DumpJson({{"cents", JsonDigits("12.50")}, {"b", {1, "x"}}}),
              R"({"b":[1,"x"],"cents":12.50})");
}

}  // namespace
}  // namespace loto
