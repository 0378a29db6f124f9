#pragma once

#include <string>
#include <string_view>

namespace loto {

// The run time's general number form: whole numbers as plain digits without grouping, other
// values with at most 15 significant digits; `separator` is the locale's decimal separator.
[[nodiscard]] std::string CountToText(double value, std::string_view separator);

// Renders a finite value with a pattern of '#' and '0' digits around one optional period, such as
// "##0.########": '0' is always shown, '#' only when significant; the integer part shows all its
// digits; the fraction is rounded to the pattern's digits, trailing zeros dropped, and the
// separator is written even when no fractional digit remains. A value that rounds to zero has no
// minus sign. A value that is not finite renders as "".
[[nodiscard]] std::string FormatPattern(double value, std::string_view pattern,
                                        std::string_view separator);

// FormatPattern for a Single, first rounded to the seven significant digits that a Single holds,
// so that 43.59649658203125f renders as 43.5965 rather than 43.59649658.
[[nodiscard]] std::string FormatSinglePattern(float value, std::string_view pattern,
                                              std::string_view separator);

}  // namespace loto
