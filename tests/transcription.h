#pragma once

// The generator and the draw written straight from their definitions, in Double with a Currency
// conversion of their own, as the reference that the fast integer paths must equal.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/draws.h"
#include "core/random_source.h"

namespace loto::test {

// raw / 10,000 as the nearest Double, through a 113-bit quotient: that quotient is within 2^-113
// of the exact value, far closer than raw / 10,000 ever comes to a midpoint between two Doubles
// without being one, so the final rounding is the correct one.
inline double QuadCurrencyToDouble(std::int64_t raw) {
    __extension__ using Quad = __float128;
    return static_cast<double>(static_cast<Quad>(raw) / 10000);
}

// NextUniform in Currency: t = A X + C; q = floor(t / M); C = q; X = t - q M; X / M.
inline double TranscribedNextUniform(GeneratorState& s) {
    const double m = QuadCurrencyToDouble(std::int64_t{1} << 48);
    const std::int64_t t = 32353 * s.x + s.c;
    const double q = std::floor(QuadCurrencyToDouble(t) / m);
    s.c = static_cast<std::int64_t>(q) * 10000;
    s.x = t - static_cast<std::int64_t>(q) * (std::int64_t{1} << 48);
    return QuadCurrencyToDouble(s.x) / m;
}

inline int TranscribedNumber(double u) {
    return static_cast<int>(std::floor(u * 49 + 1));
}

// DrawNumbers: each candidate consumes one value and is drawn again while it equals a number
// already drawn.
inline Numbers DrawNumbers(GeneratorState& state) {
    Numbers drawn{};
    for (auto next = drawn.begin(); next != drawn.end(); ++next) {
        do {
            *next = TranscribedNumber(TranscribedNextUniform(state));
        } while (std::find(drawn.begin(), next, *next) != next);
    }
    return drawn;
}

// CountMatches: each drawn number that equals at least one grid number adds 1.
inline int CountMatches(const Numbers& drawn, const Numbers& grid) {
    return static_cast<int>(std::count_if(drawn.begin(), drawn.end(), [&grid](int number) {
        return std::find(grid.begin(), grid.end(), number) != grid.end();
    }));
}

}  // namespace loto::test
