#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace loto {

// A sum of money in cents of one currency, wide enough for a run's winnings to the cent: a draw
// pays or costs at most kMostCents, and 2^63 draws of it stay within 128 bits.
__extension__ using Cents = __int128;
inline constexpr Cents kMostCents = Cents{1'000'000'000'000'000'000};  // 10^16 units

// An amount as typed: digits, then optionally a point and one or two decimals ("2.50", "8",
// "0.5"), up to kMostCents; nothing else, no sign, no blank. None for any other text.
[[nodiscard]] std::optional<Cents> ReadAmount(std::string_view text);

// Cents as a decimal with two places and `point` between its units and cents: "-12.30". Exact:
// from the integer, never through a Double.
[[nodiscard]] std::string AmountText(Cents cents, std::string_view point = ".");

}  // namespace loto
