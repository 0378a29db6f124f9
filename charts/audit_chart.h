#pragma once

#include <string>

#include "audit/history.h"
#include "core/draw_rule.h"

namespace loto {

// The charts of an audit, for each pool of the history, in one self-contained SVG: each
// number's deviation from its expected count against the draws so far, inside the funnel that a
// fair draw keeps one number within 95 % of the time and the wider one that it keeps all N
// within (Šidák); and the histogram of the gaps between a number's appearances against the
// geometric law, on a logarithmic axis. Elements carry their values as data- attributes.
[[nodiscard]] std::string AuditSvg(const History& history, const Game& game);

}  // namespace loto
