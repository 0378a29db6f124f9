#include "platform/currency.h"

#include <bit>
#include <cmath>

namespace loto {

double CurrencyToDouble(std::int64_t raw) noexcept {
    const bool negative = raw < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    // Below 2^53 the integer converts exactly, so the one division rounds once.
    if (magnitude < (std::uint64_t{1} << 53)) {
        return static_cast<double>(raw) / static_cast<double>(kCurrencyScale);
    }
    // Above, converting first would round twice. Scale the magnitude so that its quotient by
    // 10,000 has exactly 53 bits, then round that quotient by hand, half to even.
    __extension__ using Wide = unsigned __int128;
    constexpr Wide kTop = Wide{1} << 53;
    int shift = 67 - std::bit_width(magnitude);  // scaled value in [2^66, 2^67)
    Wide quotient = (Wide{magnitude} << shift) / kCurrencyScale;
    if (quotient >= kTop) {
        --shift;
    }
    const Wide scaled = Wide{magnitude} << shift;
    quotient = scaled / kCurrencyScale;
    const auto twiceRest = static_cast<std::int64_t>(scaled % kCurrencyScale) * 2;
    if (twiceRest > kCurrencyScale || (twiceRest == kCurrencyScale && (quotient & 1) != 0)) {
        ++quotient;  // may reach 2^53, still exact
    }
    const double value = std::ldexp(static_cast<double>(quotient), -shift);
    return negative ? -value : value;
}

}  // namespace loto
