#include "core/prize_input.h"

#include "core/tiers.h"

namespace loto {
namespace {

// The tier of `rule` named `name`, of probability above 0; none for any other name.
std::optional<Tier> NamedTier(const DrawRule& rule, std::string_view name) {
    for (const Tier& tier : Tiers(rule)) {
        if (TierName(tier) == name) {
            return tier;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<PrizeArgument> ReadPrizeArgument(std::string_view text, Refusal& refusal) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        refusal = {.why = Refused::NotTierAmount, .typed = std::string(text)};
        return std::nullopt;
    }
    const std::string_view amount = text.substr(equals + 1);
    const std::optional<Cents> cents = ReadAmount(amount);
    if (!cents) {
        refusal = {.why = Refused::NotAnAmount, .typed = std::string(amount)};
        return std::nullopt;
    }
    return PrizeArgument{.tier = std::string(text.substr(0, equals)), .amount = *cents};
}

ReadPrizes MakePrizeTable(const DrawRule& rule, Cents price,
                          const std::vector<PrizeArgument>& prizes) {
    const DrawRule combination = CombinationRule(rule);
    PrizeTable table{.price = price,
                     .prizes = std::vector<Cents>(static_cast<std::size_t>(combination.tiers()))};
    std::vector<bool> named(table.prizes.size());
    for (const PrizeArgument& prize : prizes) {
        const std::optional<Tier> tier = NamedTier(combination, prize.tier);
        if (!tier) {
            return {std::nullopt, Refusal{.why = Refused::NotATier,
                                          .typed = prize.tier,
                                          .game = GameName(rule.game),
                                          .count = combination.main.Count()}};
        }
        const auto index = static_cast<std::size_t>(tier->index);
        if (named[index]) {
            return {std::nullopt, Refusal{.why = Refused::TierTwice, .typed = prize.tier}};
        }
        named[index] = true;
        table.prizes[index] = prize.amount;
    }
    return {table, std::nullopt};
}

ReadUntil ReadUntilTier(const DrawRule& rule, std::string_view name,
                        const std::optional<MoneyLaw>& money) {
    ReadUntil until;
    if (name == kAnyPrize) {
        if (money) {
            for (const Tier& tier : Tiers(rule)) {
                if (money->payouts[static_cast<std::size_t>(tier.index)] > 0) {
                    until.tiers.push_back(tier.index);
                }
            }
        }
        if (until.tiers.empty()) {
            until.refusal = Refusal{.why = Refused::NothingPays};
        }
        return until;
    }
    if (const std::optional<Tier> tier = NamedTier(rule, name)) {
        until.tiers.push_back(tier->index);
    } else {
        until.refusal = Refusal{
            .why = Refused::UntilNotATier, .typed = std::string(name), .game = GameName(rule.game)};
    }
    return until;
}

}  // namespace loto
