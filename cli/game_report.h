#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/money_report.h"
#include "core/game_session.h"
#include "core/tiers.h"
#include "stats/significance.h"

namespace loto {

// One command of a game as loto-sim prints it: where it stands in the run, its ticket and the
// tiers it lists, what it drew and, when asked, the significance of its tally.
struct PrintedGame {
    std::uint64_t stream = 0;
    int command = 0;  // from 1
    DrawRule rule;
    std::vector<Tier> tiers;  // every possible one, and any other that a draw fell into
    GameReport report;
    bool unreadable = false;  // its number of draws beyond the range of numbers: nothing drawn
    bool statsAsked = false;
    std::optional<Significance> stats{};  // over the tiers in their order, whenever it drew
    PlayShown play{};

    [[nodiscard]] std::uint64_t Count(const Tier& tier) const;
    // The expected count of a tier for the draws asked for, and the deviation in percent from
    // it, once the command completed; none where they are not numbers.
    [[nodiscard]] std::optional<double> Expected(const Tier& tier) const;
    [[nodiscard]] std::optional<double> Deviation(const Tier& tier) const;
    [[nodiscard]] bool Completed() const noexcept { return !unreadable && !report.stopped; }
};

[[nodiscard]] PrintedGame MakePrintedGame(std::uint64_t stream, int command, const DrawRule& rule,
                                          GameReport report, bool unreadable, bool statsAsked,
                                          PlayShown play = {});

// The probabilities of the tiers of a command, in their order.
[[nodiscard]] std::vector<double> Probabilities(const std::vector<Tier>& tiers);

// One JSON object: the game, the ticket, each tier with its count, expected count, probability and
// deviation (and z and p with --stats), the draws, their time and the estimate.
[[nodiscard]] nlohmann::json GameJson(const PrintedGame& printed);
// A table of the tiers for people, every number in the forms of the user's locale.
[[nodiscard]] std::string GameText(const PrintedGame& printed, std::string_view separator);
// CSV: a header line, then one line per tier of each command.
[[nodiscard]] std::string GameCsvHeader(bool withStats, bool waits = false, bool money = false);
[[nodiscard]] std::string GameCsvRows(const PrintedGame& printed);

}  // namespace loto
