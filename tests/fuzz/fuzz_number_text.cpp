// Any value the commands can render: the pattern texts keep to their grammar and stand for the
// value rounded to the pattern's decimals; counts read back exactly.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

#include "platform/number_text.h"
#include "platform/text_to_number.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The value that a rendered text stands for, read with the period.
double ReadBack(std::string text) {
    for (char& c : text) {
        c = c == ',' ? '.' : c;
    }
    return *loto::TextToNumber(text);
}

void CheckPattern(double value, int decimals, const std::regex& grammar, const std::string& text) {
    if (!std::isfinite(value)) {
        Require(text.empty());
        return;
    }
    Require(std::regex_match(text, grammar));
    // Within half a unit of the last decimal, and of the Double's own spacing for huge values.
    const double unit = std::pow(10.0, -decimals);
    const double tolerance = unit / 2 + std::fabs(value) * 1e-15;
    Require(std::fabs(ReadBack(text) - value) <= tolerance);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(double) + sizeof(float)) {
        return 0;
    }
    double value = 0;
    float single = 0;
    std::memcpy(&value, data, sizeof value);
    std::memcpy(&single, data + sizeof value, sizeof single);

    // An integer part without leading zeros, then the separator and the decimals left after
    // trailing zeros are dropped; no sign on zero.
    static const std::regex deviation(R"(-?(0|[1-9][0-9]*),([0-9]{0,4}[1-9])?)");
    static const std::regex expected(R"(-?(0|[1-9][0-9]*),([0-9]{0,7}[1-9])?)");
    const std::string shown = loto::FormatPattern(value, "#####0.#####", ",");
    CheckPattern(value, 5, deviation, shown);
    Require(shown != "-0,");

    const std::string theo = loto::FormatSinglePattern(single, "##0.########", ",");
    if (std::isfinite(single)) {
        Require(std::regex_match(theo, expected));
        // Seven significant digits, then eight decimals.
        const double tolerance = std::fabs(single) * 5e-7 + 0.5e-8;
        Require(std::fabs(ReadBack(theo) - single) <= tolerance);
    } else {
        Require(theo.empty());
    }

    if (std::isfinite(value)) {
        const double whole = std::trunc(value);
        const std::string count = loto::CountToText(whole, ",");
        Require(count.find_first_not_of("-0123456789") == std::string::npos);
        Require(*loto::TextToNumber(count) == whole);
    }
    return 0;
}
