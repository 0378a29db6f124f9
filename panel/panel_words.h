#pragma once

#include <string>
#include <string_view>

#include "core/refusal.h"
#include "panel/panel_session.h"

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

// What the panel's status says: while it draws (which command of how many, of several), then of
// the run that ended.
[[nodiscard]] std::string PanelDrawingText(bool inSpeedTest, const std::string& estimate,
                                           std::pair<int, int> repetition = {});
[[nodiscard]] std::string PanelEndText(const PanelShown& shown);

// The chart's text for those who do not see it: what it plots, of how many runs of which game.
[[nodiscard]] std::string ChartAlternativeText(const PanelShown& shown);

}  // namespace loto
