#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "stats/significance.h"

namespace loto {

// The waits of commands that each drew until a tier, against the geometric law they must follow:
// a wait of w draws has probability (1 - p)^(w - 1) p. A wait that reached the bound is censored:
// it is only known to be longer.
struct WaitsSample {
    double probability = 0;  // of the tiers waited for, in one draw
    std::uint64_t bound = 0;
    std::vector<std::uint64_t> waits;  // those that ended in the tier, from 1
    std::uint64_t censored = 0;

    [[nodiscard]] std::uint64_t count() const noexcept { return waits.size() + censored; }
};

// A class of waits, first to last draw (last 0: beyond the bound, the censored ones).
struct WaitClass {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::uint64_t observed = 0;
    double probability = 0;
};

struct WaitsTest {
    std::optional<double> mean;    // of the waits that ended in the tier
    std::optional<double> median;  // nearest rank over all, none where it is a censored one
    double lawMean = 0;            // 1 / p
    double lawMedian = 0;          // the least w of F(w) >= 1/2
    // E[W | W <= bound], what the mean of the waits that ended in the tier is to be set against
    // once some reached the bound; none when none did.
    std::optional<double> lawMeanBelowBound;
    // The classes of the law, before pooling, and the classes tested, after: the last is open
    // (last 0) where it holds the censored.
    std::vector<WaitClass> bars;
    std::vector<WaitClass> classes;
    std::optional<Significance> chiSquare;  // over the classes before pooling, as a tally's
};

// The least wait w with F(w) = 1 - (1 - p)^w at least `level` (0 < level < 1), as a Double: it
// can pass 2^64 for a rare tier.
[[nodiscard]] double GeometricQuantile(double p, double level);

// E[W | W <= bound] for a wait W of the geometric law of p.
[[nodiscard]] double GeometricMeanBelow(double p, std::uint64_t bound);

// Classes of about equal probability under the law, at most one for 5 waits and 20 in all, the
// censored ones a class of their own, those of probability 0 left out; Pearson's chi-square over
// them.
[[nodiscard]] WaitsTest TestWaits(const WaitsSample& sample);

}  // namespace loto
