#include "platform/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace loto {
namespace {

// Large enough for any Double in fixed notation with the few decimals that patterns ask for.
constexpr std::size_t kBufferSize = 512;

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

}  // namespace digits

std::string Digits(double value, DigitsForm form, int precision) {
#if defined(__cpp_lib_to_chars)
    return digits::Standard(value, form, precision);
#else
    return digits::C(value, form, precision);
#endif
}

double ReadDigits(std::string_view digits) {
#if defined(__cpp_lib_to_chars)
    return digits::ReadStandard(digits);
#else
    return digits::ReadC(digits);
#endif
}

}  // namespace loto
