#include "audit/faulty_histories.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <span>

namespace loto {

const char* FaultName(Fault fault) noexcept {
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

PoolHistory FaultyHistory(Fault fault, int drawn, int highest, std::size_t draws,
                          std::uint64_t seed, double bias) {
    PoolHistory history{{drawn, highest},
                        std::vector<std::uint8_t>(draws * static_cast<std::size_t>(drawn))};
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
    const double share = fault == Fault::kHeavyNumber ? bias * drawn / (highest - drawn) : bias;
    const auto k = static_cast<std::size_t>(drawn);
    for (std::size_t t = 1; t < draws && fault != Fault::kNone; ++t) {
        const auto draw = std::span(history.numbers).subspan(t * k, k);
        const auto holds = [&](int n) {
            return std::find(draw.begin(), draw.end(), n) != draw.end();
        };
        const std::uint8_t x = fault == Fault::kHeavyNumber ? 1
                               : fault == Fault::kGluedPair
                                   ? 2
                                   : history.Draw(t - 1)[static_cast<std::size_t>(below(drawn))];
        const bool wanted = fault != Fault::kGluedPair || holds(1);
        if (!wanted || holds(x) || static_cast<double>(engine() >> 11) * 0x1p-53 >= share) {
            continue;
        }
        auto at = static_cast<std::size_t>(below(drawn));
        while (fault == Fault::kGluedPair && draw[at] == 1) {
            at = static_cast<std::size_t>(below(drawn));
        }
        draw[at] = x;
    }
    return history;
}

}  // namespace loto
