#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace loto {

// Reads the text of a box as a number: blanks, tabs, line feeds and the no-break spaces U+00A0
// and U+202F are dropped wherever they stand, then the longest leading decimal number is converted
// (optional sign, digits with at most one period, optional exponent E with optional sign). The
// period is the only separator whatever the locale; text that does not start with a number reads as
// 0 and trailing text is ignored. Returns nothing only for a number beyond the Double range, which
// cannot be read.
[[nodiscard]] std::optional<double> TextToNumber(std::string_view text);

// The text as TextToNumber reads it: without the blanks, tabs, line feeds and no-break spaces.
[[nodiscard]] std::string WithoutBlanks(std::string_view text);

}  // namespace loto
