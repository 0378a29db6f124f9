#pragma once

#include <string>
#include <string_view>

#include "stats/significance.h"
#include "stats/waits_law.h"

namespace loto {

// The statistics said in one English line, as loto-sim's text and the charts say them.

// Pearson's chi-square of a tally in one line, or why there is none: too few draws, or a single
// class that can happen at all (`certain` says what that means).
[[nodiscard]] std::string ChiSquareSummary(const Significance& significance,
                                           std::string_view separator = ".",
                                           std::string_view certain = "only one tier is possible");

// The waits' chi-square against the geometric law, or why there is none.
[[nodiscard]] std::string WaitsChiSquare(const WaitsTest& test, std::string_view separator = ".");

}  // namespace loto
