#pragma once

// The generator and the draw written straight from their definitions, in Double with a Currency
// conversion of their own, as the reference that the fast integer paths must equal.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

// States whose step lands close to a multiple of 2^48, where the Double quotient can be one off,
// and states whose X x 49 does, where the Double floor of the number can be: the fallback must
// follow the Double formulas, one-off quotients included, for several steps on.
inline std::vector<GeneratorState> StatesNearBoundaries() {
    constexpr std::int64_t kModulus = std::int64_t{1} << 48;
    // 32353 is odd, so it has an inverse modulo 2^48: X = (r - C) / 32353 mod 2^48 makes
    // 32353 X + C leave the remainder r.
    std::uint64_t inverse = 1;
    for (int i = 0; i < 6; ++i) {
        inverse *= 2 - 32353 * inverse;
    }
    std::vector<GeneratorState> states;
    for (const std::int64_t carry : {0, 1, 4067, 16176, 32352}) {
        for (std::int64_t r = -4096; r <= 4096; r += 7) {
            const std::uint64_t target = static_cast<std::uint64_t>(r - carry * 10000);
            const auto x = static_cast<std::int64_t>((target * inverse) & (kModulus - 1));
            states.push_back({x, carry * 10000});
        }
    }
    for (std::int64_t j = 1; j < 49; ++j) {
        const std::int64_t boundary = (j * kModulus + 48) / 49;  // first X with X 49 >= j 2^48
        for (std::int64_t d = -40; d <= 40; ++d) {
            // From X = 0 the step lands on X = C: a carry built to put X next to the boundary.
            states.push_back({0, boundary + d});
        }
    }
    return states;
}

}  // namespace loto::test
