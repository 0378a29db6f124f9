#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "stats/lifetimes.h"
#include "stats/waits_law.h"

namespace loto {

// What loto-sim prints after the last command of a run until a tier or of lifetimes.

// The waits' test: a line of JSON {"waits": {...}}, or lines for people.
[[nodiscard]] nlohmann::json WaitsJson(const std::string& tier, const WaitsSample& sample,
                                       const WaitsTest& test);
[[nodiscard]] std::string WaitsText(const std::string& tier, const WaitsSample& sample,
                                    const WaitsTest& test, std::string_view separator);

// The lifetimes' summary: a last line of JSON {"summary": {...}}, or lines for people.
[[nodiscard]] nlohmann::json SummaryJson(const Lifetimes::Summary& summary);
[[nodiscard]] std::string SummaryText(const Lifetimes::Summary& summary,
                                      std::string_view separator);

}  // namespace loto
