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

// What the panel's status says: while it draws, then of the run that ended.
[[nodiscard]] std::string PanelDrawingText(bool inSpeedTest, const std::string& estimate);
[[nodiscard]] std::string PanelEndText(const PanelShown& shown);

// The chart's text for those who do not see it: what it plots, of how many runs of which game.
[[nodiscard]] std::string ChartAlternativeText(const PanelShown& shown);

}  // namespace loto
