#pragma once

#include <cstdint>

namespace loto {

// Currency is the run time's scaled integer: value = raw / 10,000, held in a signed 64-bit
// integer. Sums, differences and products by whole numbers are plain integer arithmetic on
// the raw value; only the conversion to Double needs care.
inline constexpr std::int64_t kCurrencyScale = 10000;

// The Double nearest to raw / 10,000, ties to even, for every raw value.
[[nodiscard]] double CurrencyToDouble(std::int64_t raw) noexcept;

}  // namespace loto
