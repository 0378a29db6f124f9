#include "core/tiers.h"

#include "core/combinations.h"

namespace loto {

std::string TierName(const Tier& tier) {
    std::string name = std::to_string(tier.main);
    if (tier.bonus.value_or(false)) {
        name += "+b";
    }
    if (tier.second) {
        name.append("+").append(std::to_string(*tier.second));
    }
    return name;
}

std::vector<Tier> Tiers(const DrawRule& rule, std::span<const std::uint64_t> observed) {
    const Game& game = rule.game;
    const int picked = rule.main.Count();
    const int secondPicked = rule.second.Count();
    std::vector<Tier> tiers;
    for (int m = 0; m <= rule.mostMain(); ++m) {
        const double main = Hypergeometric(game.main.top, game.main.drawn, picked, m);
        for (int b = 0; b < rule.bonusStates(); ++b) {
            // Of the N - K numbers left after the main draw, p - m are the ticket's.
            const double left = game.main.top - game.main.drawn;
            const double bonus = !game.bonus ? 1.0
                                 : b == 1    ? (picked - m) / left
                                             : (left - (picked - m)) / left;
            for (int s = 0; s <= rule.mostSecond(); ++s) {
                const double second =
                    game.hasSecond()
                        ? Hypergeometric(game.second.top, game.second.drawn, secondPicked, s)
                        : 1.0;
                const double probability = main * bonus * second;
                const auto index = static_cast<std::size_t>(rule.TierIndex(m, b, s));
                if (probability > 0 || (index < observed.size() && observed[index] > 0)) {
                    tiers.push_back({.main = m,
                                     .bonus = game.bonus ? std::optional(b == 1) : std::nullopt,
                                     .second = game.hasSecond() ? std::optional(s) : std::nullopt,
                                     .probability = probability,
                                     .index = rule.TierIndex(m, b, s)});
                }
            }
        }
    }
    return tiers;
}

}  // namespace loto
