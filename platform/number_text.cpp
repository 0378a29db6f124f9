#include "platform/number_text.h"

#include <algorithm>
#include <cmath>

#include "platform/decimal_digits.h"

namespace loto {
namespace {

struct PatternShape {
    int minIntegerDigits = 0;
    int minFractionDigits = 0;
    int maxFractionDigits = 0;
    bool hasSeparator = false;
};

PatternShape ReadPattern(std::string_view pattern) {
    PatternShape shape;
    const std::size_t period = pattern.find('.');
    const std::string_view integer = pattern.substr(0, period);
    shape.minIntegerDigits = static_cast<int>(std::count(integer.begin(), integer.end(), '0'));
    if (period != std::string_view::npos) {
        const std::string_view fraction = pattern.substr(period + 1);
        shape.hasSeparator = true;
        shape.maxFractionDigits = static_cast<int>(fraction.size());
        shape.minFractionDigits =
            static_cast<int>(std::count(fraction.begin(), fraction.end(), '0'));
    }
    return shape;
}

std::string WithSeparator(std::string_view text, std::string_view separator) {
    std::string out;
    const std::size_t period = text.find('.');
    out.append(text.substr(0, period));
    if (period != std::string_view::npos) {
        out.append(separator);
        out.append(text.substr(period + 1));
    }
    return out;
}

}  // namespace

std::string CountToText(double value, std::string_view separator) {
    if (value == 0) {
        return "0";  // never "-0"
    }
    std::string digits;
    if (std::isfinite(value) && value == std::trunc(value)) {
        digits = Digits(value, DigitsForm::Fixed, 0);
    } else {
        digits = Digits(value, DigitsForm::General, 15);
        std::replace(digits.begin(), digits.end(), 'e', 'E');
    }
    return WithSeparator(digits, separator);
}

std::string FormatPattern(double value, std::string_view pattern, std::string_view separator) {
    if (!std::isfinite(value)) {
        return "";
    }
    const PatternShape shape = ReadPattern(pattern);
    const std::string fixed = Digits(std::fabs(value), DigitsForm::Fixed, shape.maxFractionDigits);
    const std::string_view digits = fixed;  // "123" or "123.45600000"
    const std::size_t period = std::min(digits.find('.'), digits.size());
    std::string_view integer = digits.substr(0, period);
    std::string_view fraction = period < digits.size() ? digits.substr(period + 1) : "";

    const bool zero = integer.find_first_not_of('0') == std::string_view::npos &&
                      fraction.find_first_not_of('0') == std::string_view::npos;
    while (static_cast<int>(fraction.size()) > shape.minFractionDigits && fraction.back() == '0') {
        fraction.remove_suffix(1);
    }
    while (static_cast<int>(integer.size()) > shape.minIntegerDigits && integer.front() == '0') {
        integer.remove_prefix(1);
    }
    std::string text;
    if (value < 0 && !zero) {
        text.push_back('-');
    }
    text.append(static_cast<std::size_t>(
                    std::max(0, shape.minIntegerDigits - static_cast<int>(integer.size()))),
                '0');
    text.append(integer);
    if (shape.hasSeparator) {
        text.append(separator);
        text.append(fraction);
    }
    return text;
}

std::string FormatSinglePattern(float value, std::string_view pattern, std::string_view separator) {
    if (!std::isfinite(value)) {
        return "";
    }
    const double rounded = ReadDigits(Digits(value, DigitsForm::Scientific, 6));
    return FormatPattern(rounded, pattern, separator);
}

}  // namespace loto
