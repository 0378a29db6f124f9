#include "core/random_source.h"

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

int NumberFromUniform(double u) noexcept {
    return static_cast<int>(std::floor(u * 49 + 1));
}

namespace detail {

int NextNumberByDoubles(GeneratorState& state) noexcept {
    return NumberFromUniform(NextUniformByDoubles(state));
}

}  // namespace detail
}  // namespace loto
