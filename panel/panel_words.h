#pragma once

#include <string>
#include <string_view>

#include "core/refusal.h"
#include "panel/panel_session.h"
#include "rules/lottery_rules.h"

namespace loto {

// What the panel of any game says, in French, of what was typed into it and refused; each
// message quotes what was typed.
[[nodiscard]] std::string PanelRefusalText(const Refusal& refusal);
[[nodiscard]] std::string PriceRefusalText(std::string_view typed);
[[nodiscard]] std::string DrawsPerWeekRefusalText(std::string_view typed);
[[nodiscard]] std::string DrawsRefusalText(std::string_view typed);
[[nodiscard]] std::string UntilMissingText();
[[nodiscard]] std::string CountRefusalText(PanelCount box, std::string_view typed);
[[nodiscard]] std::string LifetimesWithoutMoneyText();
[[nodiscard]] std::string NoSuchRulesText(std::string_view file);
[[nodiscard]] std::string RulesOfAnotherGameText(const Game& rules, const Game& typed);
// An example rules file as the list offers it, short enough for a phone's list: "euromillions
// (2024-02-01)", the rules as of that date.
[[nodiscard]] std::string RulesChoiceText(std::string_view file, const LotteryRules& rules);

// What the panel's status says: while it draws (which command of how many, of several), then of
// the run that ended.
[[nodiscard]] std::string PanelDrawingText(bool inSpeedTest, const std::string& estimate,
                                           std::pair<int, int> repetition = {});
[[nodiscard]] std::string PanelEndText(const PanelShown& shown);

// The chart's text for those who do not see it: what it plots, of how many runs of which game.
[[nodiscard]] std::string ChartAlternativeText(const PanelShown& shown);

}  // namespace loto
