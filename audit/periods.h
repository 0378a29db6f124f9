#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "audit/history.h"
#include "audit/report.h"

namespace loto {

// Where the rules of a history change: the draws at which a pool's greatest number rises past
// what its earlier draws would have shown had the larger pool been drawn from their start (the
// chance that every one of them stayed below is under 10^-6), as UK Lotto went from 49 to 59
// numbers and EuroMillions' stars from 9 to 11 to 12. The first draw of each period after the
// first, in the history's order.
[[nodiscard]] std::vector<std::size_t> RuleChanges(const History& history);

// A part of a history audited as a game of its own, and its period, by its first and last draws'
// dates (or their numbers, without dates), where the history's rules change.
struct HistoryPart {
    History history;
    Game game;
    std::optional<AuditPeriod> period{};
};

// The periods between a history's rule changes, each its pools guessed (the bonus as said);
// the whole history where it has none.
[[nodiscard]] std::vector<HistoryPart> SplitAtRuleChanges(const History& history, bool bonus);

// The parts of a history that an audit tests: with its game given, the whole as that game; with
// its game guessed, the periods between its rule changes, each its pools guessed (the bonus as
// said).
[[nodiscard]] std::vector<HistoryPart> AuditedParts(const History& history,
                                                    const std::optional<Game>& given, bool bonus);

// Draws [from, to) of a history, no line set aside; where the pools are `guessed`, their N the
// greatest number each holds there, else the history's.
[[nodiscard]] History Slice(const History& history, std::size_t from, std::size_t to, bool guessed);

// The draws dated from `from` to `to`, both included, of a dated history, its lines set aside
// kept.
[[nodiscard]] History Between(const History& history, std::optional<std::int32_t> from,
                              std::optional<std::int32_t> to, bool guessed);

}  // namespace loto
