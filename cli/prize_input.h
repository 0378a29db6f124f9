#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/prizes.h"

namespace loto {

// What loto-sim's --price, --prize and --until are read as against a command's ticket. Each comes
// with why it is refused, in a message that quotes what was typed.

// --prize TIER=AMOUNT as typed: the tier's name and the amount's text, split at the first '='.
struct PrizeArgument {
    std::string tier;
    Cents amount = 0;
};
// None for a text without '=' or whose amount ReadAmount refuses; `refusal` says why.
[[nodiscard]] std::optional<PrizeArgument> ReadPrizeArgument(std::string_view text,
                                                             std::string& refusal);

// The prize table of a ticket: each name one of the tiers of its combinations (those of a
// ticket of K numbers, or of p where p is fewer), named once.
struct ReadPrizes {
    std::optional<PrizeTable> table;
    std::string refusal;
};
[[nodiscard]] ReadPrizes MakePrizeTable(const DrawRule& rule, Cents price,
                                        const std::vector<PrizeArgument>& prizes);

// --until TIER: a tier of the ticket itself, or "any" for every tier that pays.
inline constexpr std::string_view kAnyPrize = "any";
struct ReadUntil {
    std::vector<int> tiers;  // TierIndex
    std::string refusal;     // empty when read
};
[[nodiscard]] ReadUntil ReadUntilTier(const DrawRule& rule, std::string_view name,
                                      const std::optional<MoneyLaw>& money);

}  // namespace loto
