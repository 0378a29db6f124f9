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

// The fewest significant digits that read back as a finite Double or Single, and the power of
// ten of the first: -0.0125 is "125" and -2, negative; 0 is "0" and 0.
struct SignificantDigits {
    bool negative = false;
    std::string digits{};
    int exponent = 0;

    friend bool operator==(const SignificantDigits&, const SignificantDigits&) = default;
};
[[nodiscard]] SignificantDigits ShortestDigits(double value);
[[nodiscard]] SignificantDigits ShortestDigits(float value);

// A finite number as std::to_chars writes it at its shortest: in fixed notation or with an
// exponent ("1e+20"), whichever is shorter, fixed for a tie.
[[nodiscard]] std::string ShortestText(double value);
[[nodiscard]] std::string ShortestText(float value);

// The two ways, for the test that they agree; the first exists only where the library has it.
namespace digits {
#if defined(__cpp_lib_to_chars)
[[nodiscard]] std::string Standard(double value, DigitsForm form, int precision);
[[nodiscard]] double ReadStandard(std::string_view digits);
[[nodiscard]] SignificantDigits ShortestStandard(double value);
[[nodiscard]] SignificantDigits ShortestStandard(float value);
#endif
[[nodiscard]] std::string C(double value, DigitsForm form, int precision);
[[nodiscard]] double ReadC(std::string_view digits);
[[nodiscard]] SignificantDigits ShortestC(double value);
[[nodiscard]] SignificantDigits ShortestC(float value);
}  // namespace digits

}  // namespace loto
