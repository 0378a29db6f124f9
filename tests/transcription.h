#pragma once

// The generator and the draw written straight from their definitions, in Double with a Currency
// conversion of their own, as the reference that the fast integer paths must equal.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/draws.h"
#include "core/draw_rule.h"
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

// A draw of any game, as written: K numbers floor(u x N + 1), each candidate drawn again while it
// repeats one already drawn; then the bonus the same way, rejecting the K; then M numbers
// floor(u x Q + 1) of the second pool, rejecting among themselves. Every candidate consumes one
// value of one stream.
struct GameDraw {
    std::vector<int> main;
    int bonus = 0;
    std::vector<int> second;
};

inline int TranscribedCandidate(GeneratorState& state, int top, const std::vector<int>& drawn) {
    for (;;) {
        const int n = static_cast<int>(std::floor(TranscribedNextUniform(state) * top + 1));
        if (std::find(drawn.begin(), drawn.end(), n) == drawn.end()) {
            return n;
        }
    }
}

inline GameDraw DrawGame(GeneratorState& state, const Game& game) {
    GameDraw draw;
    while (static_cast<int>(draw.main.size()) < game.main.drawn) {
        draw.main.push_back(TranscribedCandidate(state, game.main.top, draw.main));
    }
    if (game.bonus) {
        draw.bonus = TranscribedCandidate(state, game.main.top, draw.main);
    }
    while (static_cast<int>(draw.second.size()) < game.second.drawn) {
        draw.second.push_back(TranscribedCandidate(state, game.second.top, draw.second));
    }
    return draw;
}

// The tally by tier of `draws` transcribed draws against a ticket (main and second numbers).
inline std::vector<std::uint64_t> TranscribedTally(GeneratorState& state, std::uint64_t draws,
                                                   const DrawRule& rule) {
    std::vector<std::uint64_t> tally(static_cast<std::size_t>(rule.tiers()));
    for (std::uint64_t d = 0; d < draws; ++d) {
        const GameDraw draw = DrawGame(state, rule.game);
        const auto matched = [](const std::vector<int>& numbers, const NumberSet& ticket) {
            return static_cast<int>(std::count_if(numbers.begin(), numbers.end(),
                                                  [&](int n) { return ticket.Has(n); }));
        };
        const int bonus = rule.game.bonus && rule.main.Has(draw.bonus) ? 1 : 0;
        ++tally[static_cast<std::size_t>(rule.TierIndex(matched(draw.main, rule.main), bonus,
                                                        matched(draw.second, rule.second)))];
    }
    return tally;
}

// States whose step lands close to a multiple of 2^48, where the Double quotient can be one off,
// and states whose X x top does, where the Double floor of the number can be: the fallback must
// follow the Double formulas, one-off quotients included, for several steps on.
inline std::vector<GeneratorState> StatesNearBoundaries(int top = 49) {
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
    for (std::int64_t j = 1; j < top; ++j) {
        const std::int64_t boundary = (j * kModulus + top - 1) / top;  // X top >= j 2^48 from it
        for (std::int64_t d = -40; d <= 40; ++d) {
            // From X = 0 the step lands on X = C: a carry built to put X next to the boundary.
            states.push_back({0, boundary + d});
        }
    }
    return states;
}

}  // namespace loto::test
