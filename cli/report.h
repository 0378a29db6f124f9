#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "cli/printed_command.h"

namespace loto {

// One JSON object: the figures as numbers (null where the window shows nothing), the estimate as
// an ISO 8601 local time, the window's own texts under "texts", why a command was refused, and
// "stats" when asked (null when the command drew nothing).
[[nodiscard]] nlohmann::json ReportJson(const PrintedCommand& printed);

// A table of the seven result rows, for people: every number in the forms of the user's locale.
[[nodiscard]] std::string ReportText(const PrintedCommand& printed, std::string_view separator);

// CSV: a header line, then one line per k of each command, as numbers for a spreadsheet.
[[nodiscard]] std::string CsvHeader(bool withStats);
[[nodiscard]] std::string CsvRows(const PrintedCommand& printed);

}  // namespace loto
