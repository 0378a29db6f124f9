#pragma once

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/printf.h"

namespace loto {

// Right-aligns UTF-8 text by its characters, not its bytes.
[[nodiscard]] std::string PadLeft(const std::string& text, std::size_t width);

// `value` to at most `decimals` places, and to no digit finer than `unit`, the smallest that it
// holds: a Double's is about 10^-15 of it, a Long Double's 10^-18. Where not every whole digit is
// held, as many significant digits as are, with an exponent: 4.287866963230478e+20.
[[nodiscard]] std::string Fixed(long double value, int decimals, std::string_view separator,
                                long double unit);
// A Double's own digits, "-" where there is none or it is not a number.
[[nodiscard]] std::string Fixed(std::optional<double> value, int decimals,
                                std::string_view separator);

// A figure in printf's `format` with the user's decimal separator, "-" where there is none or it
// is not a number.
[[nodiscard]] std::string Shown(std::optional<double> value, const char* format,
                                std::string_view separator);

}  // namespace loto
