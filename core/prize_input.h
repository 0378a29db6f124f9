#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/prizes.h"
#include "core/refusal.h"

namespace loto {

// What a ticket's prizes and the tier drawn until are read as, from loto-sim's --prize and --until
// or the page's boxes, against the ticket, or why they are refused.

// TIER=AMOUNT as typed: the tier's name and the amount, split at the first '='.
struct PrizeArgument {
    std::string tier;
    Cents amount = 0;
};
// None for a text without '=' or whose amount ReadAmount refuses; `refusal` says why.
[[nodiscard]] std::optional<PrizeArgument> ReadPrizeArgument(std::string_view text,
                                                             Refusal& refusal);

// The prize table of a ticket: each name one of the tiers of its combinations (those of a
// ticket of K numbers, or of p where p is fewer), named once.
struct ReadPrizes {
    std::optional<PrizeTable> table;
    std::optional<Refusal> refusal;
};
[[nodiscard]] ReadPrizes MakePrizeTable(const DrawRule& rule, Cents price,
                                        const std::vector<PrizeArgument>& prizes);

// A tier drawn until: a tier of the ticket itself, or "any" for every tier that pays.
inline constexpr std::string_view kAnyPrize = "any";
struct ReadUntil {
    std::vector<int> tiers;  // TierIndex
    std::optional<Refusal> refusal;
};
[[nodiscard]] ReadUntil ReadUntilTier(const DrawRule& rule, std::string_view name,
                                      const std::optional<MoneyLaw>& money);

}  // namespace loto
