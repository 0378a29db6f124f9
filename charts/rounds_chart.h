#pragma once

#include <string>

#include "rules/jackpot_rounds.h"

namespace loto {

// The lottery played as a process, as a self-contained SVG chart: the jackpot over the draws, a
// line, and the draws at which the user's ticket won, marks on it; each element with its values
// as data- attributes.
[[nodiscard]] std::string RoundsChartSvg(const Rounds& rounds);

}  // namespace loto
