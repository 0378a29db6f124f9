#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/headless_window.h"
#include "core/commands.h"

namespace loto {

// The texts that one command left in the window, with how much it drew and how fast.
[[nodiscard]] nlohmann::json ReportJson(const HeadlessWindow& window, const SimulateReport& report);

// The same as a table of the seven result rows, for people.
[[nodiscard]] std::string ReportText(const HeadlessWindow& window, const SimulateReport& report);

}  // namespace loto
