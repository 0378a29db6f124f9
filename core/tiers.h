#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/draw_rule.h"

namespace loto {

// A tier of a ticket: the main numbers that a draw matched, whether its bonus did (in a game with
// one), and the second-pool numbers that it matched (in a game with a second pool), with its exact
// probability and its place in the draw loop's tally.
struct Tier {
    int main = 0;
    std::optional<bool> bonus;
    std::optional<int> second;
    double probability = 0;
    int index = 0;  // DrawRule::TierIndex

    friend bool operator==(const Tier&, const Tier&) = default;
};

// The name that tickets give a tier: "3", "5+b" (the bonus matched), "5+2" (two of the second
// pool; in a game with a second pool both counts are named, "5+0"), "5+b+2".
[[nodiscard]] std::string TierName(const Tier& tier);

// Every tier that the game can give the rule's ticket (its probability above 0), in the order
// that tickets list them: by the main numbers matched, the bonus unmatched before matched, then by
// the second-pool numbers matched. The main pool's probability is hypergeometric,
// C(p, m) C(N - p, K - m) / C(N, K); the bonus, given m, matches with probability
// (p - m) / (N - K); the second pool, independent, C(q, s) C(Q - q, M - s) / C(Q, M). A tier of
// probability 0 that a tally by TierIndex counts draws in is listed too: next to an edge of the
// generator a draw can hold a 0 or an N + 1, which no ticket holds.
[[nodiscard]] std::vector<Tier> Tiers(const DrawRule& rule,
                                      std::span<const std::uint64_t> observed = {});

}  // namespace loto
