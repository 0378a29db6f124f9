#include "platform/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace loto {
namespace {

// Large enough for any Double in fixed notation with the few decimals that patterns ask for.
constexpr std::size_t kBufferSize = 512;

// The digits of a text in scientific notation, "-1.25e-02".
SignificantDigits FromScientific(std::string_view text) {
    SignificantDigits number{.negative = text.starts_with('-')};
    const std::size_t e = text.find('e');
    for (const char c : text.substr(0, e)) {
        if (c >= '0' && c <= '9') {
            number.digits += c;
        }
    }
    while (number.digits.size() > 1 && number.digits.ends_with('0')) {
        number.digits.pop_back();
    }
    number.exponent = std::stoi(std::string(text.substr(e + 1)));
    return number;
}

#if defined(__cpp_lib_to_chars)
template <typename Number>
SignificantDigits ShortestOfStandard(Number value) {
    char buffer[kBufferSize];
    const auto end =
        std::to_chars(buffer, buffer + kBufferSize, value, std::chars_format::scientific);
    return FromScientific({buffer, end.ptr});
}
#endif

// A Single read as one: through a Double, a text could round twice.
float ReadBack(const std::string& text, float) {
    return std::strtof(text.c_str(), nullptr);
}

double ReadBack(const std::string& text, double) {
    return std::strtod(text.c_str(), nullptr);
}

// The correctly rounded digits of each precision in turn, until they read back. Any decimal of
// digits10 significant digits reads back as the normal number nearest it, so where the shortest
// digits are that few, the correctly rounded digits10 are the same followed by zeros: the search
// starts there, one to three texts where it took up to max_digits10 (the page writes thousands
// of numbers a run). A subnormal number holds fewer digits, and is searched from one.
template <typename Number>
SignificantDigits ShortestOfC(Number value) {
    using Limits = std::numeric_limits<Number>;
    const int first = std::fabs(value) < Limits::min() ? 0 : Limits::digits10 - 1;
    std::string text;
    for (int precision = first; precision < Limits::max_digits10; ++precision) {
        text = digits::C(value, DigitsForm::Scientific, precision);
        if (ReadBack(text, value) == value) {
            break;
        }
    }
    return FromScientific(text);
}

template <typename Number>
SignificantDigits Shortest(Number value) {
#if defined(__cpp_lib_to_chars)
    return ShortestOfStandard(value);
#else
    return ShortestOfC(value);
#endif
}

template <typename Number>
std::string Text(Number value) {
    const SignificantDigits number = ShortestDigits(value);
    const std::string& d = number.digits;
    const int size = static_cast<int>(d.size());
    const int units = number.exponent + 1;  // the digits before the point
    std::string fixed;
    if (units >= size) {
        // A whole number in fixed notation has all its digits, and they are exact: 174834608,
        // not the 174834610 of a Single's shortest digits.
        fixed = Digits(std::fabs(static_cast<double>(value)), DigitsForm::Fixed, 0);
    } else if (units > 0) {
        fixed.append(d, 0, static_cast<std::size_t>(units))
            .append(".")
            .append(d, static_cast<std::size_t>(units));
    } else {
        fixed.append("0.").append(static_cast<std::size_t>(-units), '0').append(d);
    }
    const std::string power = std::to_string(std::abs(number.exponent));
    std::string scientific(1, d.front());
    if (size > 1) {
        scientific.append(".").append(d, 1);
    }
    scientific.append(number.exponent < 0 ? "e-" : "e+")
        .append(power.size() < 2 ? "0" : "")
        .append(power);
    const std::string sign = number.negative ? "-" : "";
    return sign + (scientific.size() < fixed.size() ? scientific : fixed);
}

}  // namespace

namespace digits {

#if defined(__cpp_lib_to_chars)
std::string Standard(double value, DigitsForm form, int precision) {
    char buffer[kBufferSize];
    const std::chars_format format = form == DigitsForm::Fixed     ? std::chars_format::fixed
                                     : form == DigitsForm::General ? std::chars_format::general
                                                                   : std::chars_format::scientific;
    const auto end = std::to_chars(buffer, buffer + kBufferSize, value, format, precision);
    return {buffer, end.ptr};
}

double ReadStandard(std::string_view digits) {
    double value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

SignificantDigits ShortestStandard(double value) {
    return ShortestOfStandard(value);
}

SignificantDigits ShortestStandard(float value) {
    return ShortestOfStandard(value);
}
#endif

// to_chars is defined as printf's %f, %g and %e with the precision given.
std::string C(double value, DigitsForm form, int precision) {
    char buffer[kBufferSize];
    const char* format = form == DigitsForm::Fixed     ? "%.*f"
                         : form == DigitsForm::General ? "%.*g"
                                                       : "%.*e";
    const int length = std::snprintf(buffer, kBufferSize, format, precision, value);
    return {buffer, static_cast<std::size_t>(std::clamp(length, 0, int{kBufferSize} - 1))};
}

double ReadC(std::string_view digits) {
    const std::string text(digits);
    return std::strtod(text.c_str(), nullptr);
}

SignificantDigits ShortestC(double value) {
    return ShortestOfC(value);
}

SignificantDigits ShortestC(float value) {
    return ShortestOfC(value);
}

}  // namespace digits

std::string Digits(double value, DigitsForm form, int precision) {
#if defined(__cpp_lib_to_chars)
    return digits::Standard(value, form, precision);
#else
    return digits::C(value, form, precision);
#endif
}

SignificantDigits ShortestDigits(double value) {
    return Shortest(value);
}

SignificantDigits ShortestDigits(float value) {
    return Shortest(value);
}

std::string ShortestText(double value) {
    return Text(value);
}

std::string ShortestText(float value) {
    return Text(value);
}

double ReadDigits(std::string_view digits) {
#if defined(__cpp_lib_to_chars)
    return digits::ReadStandard(digits);
#else
    return digits::ReadC(digits);
#endif
}

}  // namespace loto
