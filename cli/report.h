#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "cli/headless_window.h"
#include "cli/significance.h"
#include "core/commands.h"

namespace loto {

// What one command left in the window, with how much it drew and how fast; `stats`, when given,
// adds the significance of the tally (it is for completed commands only).
struct CommandResult {
    const HeadlessWindow& window;
    const SimulateReport& report;
    bool statsAsked = false;
    const Significance* stats = nullptr;  // with statsAsked, when the command drew
};

// One JSON object: the window's texts ("" for an empty box), draws, seconds, and "stats" when
// asked (null when the command drew nothing).
[[nodiscard]] nlohmann::json ReportJson(const CommandResult& result);

// A table of the seven result rows, for people.
[[nodiscard]] std::string ReportText(const CommandResult& result);

// CSV: a header line, then one line per k of each command, as numbers for a spreadsheet.
[[nodiscard]] std::string CsvHeader(bool withStats);
[[nodiscard]] std::string CsvRows(int command, const CommandResult& result);

}  // namespace loto
