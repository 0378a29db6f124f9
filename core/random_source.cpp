#include "core/random_source.h"

#include <algorithm>
#include <cmath>

#include "platform/currency.h"

namespace loto {

double NextUniformByDoubles(GeneratorState& state) noexcept {
    const std::int64_t t = kMultiplier * state.x + state.c;
    const double q = std::floor(CurrencyToDouble(t) / kModulusDouble);
    const auto carry = static_cast<std::int64_t>(q);
    state.c = carry * kCurrencyScale;
    state.x = t - carry * kModulusRaw;
    return CurrencyToDouble(state.x) / kModulusDouble;
}

int NumberFromUniform(double u, int top) noexcept {
    return static_cast<int>(std::floor(u * top + 1));
}

std::uint32_t NextWord(GeneratorState& state) noexcept {
    (void)NextNumber(state);
    const std::int64_t x = state.x;
    if (x > 0 && x < kModulusRaw && x % (std::int64_t{1} << 16) != 0) [[likely]] {
        return static_cast<std::uint32_t>(x >> 16);
    }
    const double scaled = std::floor(CurrencyToDouble(x) / kModulusDouble * 4294967296.0);
    return static_cast<std::uint32_t>(std::clamp(scaled, 0.0, 4294967295.0));
}

namespace detail {

GeneratorState StepByDoubles(std::int64_t x, std::int64_t c) noexcept {
    GeneratorState state{x, c};
    (void)NextUniformByDoubles(state);
    return state;
}

int NumberOf(std::int64_t x, int top) noexcept {
    return NumberFromUniform(CurrencyToDouble(x) / kModulusDouble, top);
}

}  // namespace detail
}  // namespace loto
