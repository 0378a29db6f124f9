#pragma once

// Histories of K of N with a known fault, for the audit's power and size: what the battery must
// flag, and the same draws without it, which it must flag no more often than its level says.

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <random>

#include "audit/history.h"

namespace loto::test {

enum class Fault {
    kNone,
    // Number 1 put in place of another number in a share 0.1 K/(N - K) of the draws that lack
    // it: P(1 drawn) = K/N + (1 - K/N) 0.1 K/(N - K) = 1.1 K/N, ten per cent more likely.
    kHeavyNumber,
    // 2 put in place of a number other than 1 in a tenth of the draws that hold 1 but not 2.
    kGluedPair,
    // A number of the draw before put in place of one of this draw's in a tenth of the draws that
    // lack it.
    kRepeat,
};

inline const char* FaultName(Fault fault) {
    switch (fault) {
        case Fault::kHeavyNumber:
            return "one number 10 % more likely";
        case Fault::kGluedPair:
            return "a pair glued in a tenth of its draws";
        case Fault::kRepeat:
            return "a number of the draw before repeated in a tenth of the draws";
        case Fault::kNone:
            break;
    }
    return "fair";
}

// Fair draws by a partial Fisher-Yates shuffle of one deck kept from draw to draw, on a generator
// apart from the calibrations' own; then the fault.
inline PoolHistory FaultyHistory(Fault fault, int drawn, int highest, std::size_t draws,
                                 std::uint64_t seed) {
    PoolHistory history{{drawn, highest}, std::vector<std::uint8_t>(draws * drawn)};
    std::mt19937_64 engine(seed);
    const auto below = [&](int n) { return static_cast<int>(engine() % static_cast<unsigned>(n)); };
    std::array<std::uint8_t, 256> deck{};
    std::iota(deck.begin(), deck.end(), 1);
    for (auto out = history.numbers.begin(); out != history.numbers.end();) {
        for (int i = 0; i < drawn; ++i, ++out) {
            std::swap(deck[static_cast<std::size_t>(i)],
                      deck[static_cast<std::size_t>(i + below(highest - i))]);
            *out = deck[static_cast<std::size_t>(i)];
        }
    }
    const double share = fault == Fault::kHeavyNumber ? 0.1 * drawn / (highest - drawn) : 0.1;
    for (std::size_t t = 1; t < draws && fault != Fault::kNone; ++t) {
        const auto draw = std::span(history.numbers).subspan(t * drawn, drawn);
        const auto holds = [&](int n) {
            return std::find(draw.begin(), draw.end(), n) != draw.end();
        };
        const std::uint8_t x = fault == Fault::kHeavyNumber ? 1
                               : fault == Fault::kGluedPair ? 2
                                                            : history.Draw(t - 1)[below(drawn)];
        const bool wanted = fault != Fault::kGluedPair || holds(1);
        if (!wanted || holds(x) || static_cast<double>(engine() >> 11) * 0x1p-53 >= share) {
            continue;
        }
        std::size_t at = static_cast<std::size_t>(below(drawn));
        while (fault == Fault::kGluedPair && draw[at] == 1) {
            at = static_cast<std::size_t>(below(drawn));
        }
        draw[at] = x;
    }
    return history;
}

}  // namespace loto::test
