#include "platform/french_numbers.h"

#include <cmath>

#include "platform/decimal_digits.h"

namespace loto {
namespace {

constexpr std::string_view kGroupSpace = "\u202F";

std::string Grouped(const std::string& digits) {
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            grouped += kGroupSpace;
        }
        grouped += digits[i];
    }
    return grouped;
}

// Keeps the first `keep` significant digits, the first dropped one rounding half away from zero;
// a carry past the first digit adds one before it.
void Round(SignificantDigits& number, int keep) {
    if (keep >= static_cast<int>(number.digits.size())) {
        return;
    }
    const bool up = keep >= 0 && number.digits[static_cast<std::size_t>(keep)] >= '5';
    number.digits.resize(static_cast<std::size_t>(std::max(keep, 0)));
    int at = keep - 1;
    for (; up && at >= 0 && number.digits[static_cast<std::size_t>(at)] == '9'; --at) {
        number.digits[static_cast<std::size_t>(at)] = '0';
    }
    if (!up) {
        return;
    }
    if (at >= 0) {
        ++number.digits[static_cast<std::size_t>(at)];
    } else {
        number.digits.insert(number.digits.begin(), '1');
        ++number.exponent;
    }
}

}  // namespace

std::string FrenchNumber(double value, FrenchDigits digits) {
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return sign + "∞";
    }
    SignificantDigits number = ShortestDigits(std::fabs(value));
    Round(number, digits.maxSignificant > 0 ? digits.maxSignificant
                                            : number.exponent + 1 + digits.maxFraction);
    // The digits laid out from the units: zeros pad them on either side of the comma.
    const int units = number.exponent + 1;  // how many of them stand before the comma
    std::string whole;
    std::string fraction;
    for (int i = std::min(units, 0); i < static_cast<int>(number.digits.size()) || i < units; ++i) {
        const char digit = i >= 0 && i < static_cast<int>(number.digits.size())
                               ? number.digits[static_cast<std::size_t>(i)]
                               : '0';
        (i < units ? whole : fraction) += digit;
    }
    while (static_cast<int>(fraction.size()) > digits.minFraction && fraction.ends_with('0')) {
        fraction.pop_back();
    }
    fraction.resize(std::max(fraction.size(), static_cast<std::size_t>(digits.minFraction)), '0');
    const std::size_t first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? "0" : whole.substr(first);
    return sign + Grouped(whole) + (fraction.empty() ? "" : "," + fraction);
}

std::string FrenchCount(std::uint64_t count) {
    return Grouped(std::to_string(count));
}

std::string FrenchAmount(Cents cents) {
    const std::string text = AmountText(cents, ",");
    const bool negative = text.starts_with('-');
    const std::size_t comma = text.find(',');
    const std::size_t from = negative ? 1 : 0;
    return text.substr(0, from) + Grouped(text.substr(from, comma - from)) + text.substr(comma);
}

}  // namespace loto
