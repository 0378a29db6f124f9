#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "audit/battery.h"
#include "audit/history.h"
#include "core/draw_rule.h"

namespace loto {

// How many draws of a history fell into each tier of one ticket (DrawRule::TierIndex: the main
// numbers matched, the bonus matched or not, the second pool's matched). The history holds the
// bonus when the game has one and the second pool when it has one.
[[nodiscard]] std::vector<std::uint64_t> TicketTally(const History& history, const DrawRule& rule);

// "ticket": that tally against the tiers' exact probabilities, the program's own question of a
// history, by Pearson's chi-square over the tiers pooled as --stats pools them. None without a
// draw, or when the pooling leaves one class.
[[nodiscard]] std::optional<TestResult> TicketTest(const History& history, const DrawRule& rule);

}  // namespace loto
