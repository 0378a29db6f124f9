#include "audit/ticket.h"

#include <algorithm>

#include "core/tiers.h"
#include "stats/significance.h"

namespace loto {
namespace {

int Matched(std::span<const std::uint8_t> draw, const NumberSet& ticket) {
    return static_cast<int>(
        std::count_if(draw.begin(), draw.end(), [&](std::uint8_t n) { return ticket.Has(n); }));
}

}  // namespace

std::vector<std::uint64_t> TicketTally(const History& history, const DrawRule& rule) {
    std::vector<std::uint64_t> tally(static_cast<std::size_t>(rule.tiers()));
    const bool second = rule.game.hasSecond();
    for (std::size_t t = 0; t < history.main.draws(); ++t) {
        const int main = Matched(history.main.Draw(t), rule.main);
        const int bonus = rule.game.bonus && rule.main.Has(history.bonus[t]) ? 1 : 0;
        const int secondMatched = second ? Matched(history.second.Draw(t), rule.second) : 0;
        ++tally[static_cast<std::size_t>(rule.TierIndex(main, bonus, secondMatched))];
    }
    return tally;
}

std::optional<TestResult> TicketTest(const History& history, const DrawRule& rule) {
    const std::vector<std::uint64_t> tally = TicketTally(history, rule);
    const std::vector<Tier> tiers = Tiers(rule, tally);
    std::vector<std::uint64_t> counts;
    std::vector<double> probabilities;
    for (const Tier& tier : tiers) {
        counts.push_back(tally[static_cast<std::size_t>(tier.index)]);
        probabilities.push_back(tier.probability);
    }
    const auto significance = TestSignificance(counts, probabilities, history.main.draws());
    if (!significance || !significance->chiSquare) {
        return std::nullopt;
    }
    const ChiSquareTest& test = *significance->chiSquare;
    return TestResult{"ticket", test.statistic, test.degreesOfFreedom, test.pValue};
}

}  // namespace loto
