#pragma once

#include <cstdint>
#include <string>

#include "platform/amount_text.h"

namespace loto {

// Numbers as a French page writes them, as the browsers' Intl.NumberFormat("fr-FR") does: the
// integer digits in groups of three between narrow no-break spaces (U+202F), a decimal comma, a
// hyphen for the sign, of a negative zero too. A Double is first taken at its shortest digits,
// then rounded half away from zero: 1.005 to two places is 1,01.
struct FrenchDigits {
    int minFraction = 0;
    int maxFraction = 3;
    int maxSignificant = 0;  // when above 0, it alone rounds, and trailing zeros go
};

[[nodiscard]] std::string FrenchNumber(double value, FrenchDigits digits);
[[nodiscard]] std::string FrenchCount(std::uint64_t count);
// Cents with their two decimals: "-1 234,50".
[[nodiscard]] std::string FrenchAmount(Cents cents);

}  // namespace loto
