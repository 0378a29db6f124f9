#pragma once

#include <string>
#include <string_view>
#include <version>

namespace loto {

// The digits of a Double as std::to_chars writes them: '.' for the point, correctly rounded.
// Where the standard library lacks floating-point to_chars (the web build's), C's snprintf and
// strtod write and read the very same texts, the C locale being the only one there.
enum class DigitsForm { Fixed, General, Scientific };

// `precision`: digits after the point (Fixed, Scientific) or significant digits (General).
[[nodiscard]] std::string Digits(double value, DigitsForm form, int precision);
// Reads back what Digits wrote.
[[nodiscard]] double ReadDigits(std::string_view digits);

// The two ways, for the test that they agree; the first exists only where the library has it.
namespace digits {
#if defined(__cpp_lib_to_chars)
[[nodiscard]] std::string Standard(double value, DigitsForm form, int precision);
[[nodiscard]] double ReadStandard(std::string_view digits);
#endif
[[nodiscard]] std::string C(double value, DigitsForm form, int precision);
[[nodiscard]] double ReadC(std::string_view digits);
}  // namespace digits

}  // namespace loto
