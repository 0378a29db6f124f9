#pragma once

#include <string>
#include <vector>

#include "audit/report.h"
#include "export/printed.h"

namespace loto {

// loto-sim's CSV, a header line then lines of numbers in the C locale's forms, ready for a
// spreadsheet or a notebook: the bytes loto-sim writes and the page offers alike.

// 6/49's commands: one line per k of each command.
[[nodiscard]] std::string CommandCsvHeader(bool withStats);
[[nodiscard]] std::string ToCsv(const PrintedCommand& printed);

// A game's commands: one line per tier of each command, with the columns that the statistics,
// the waits and the money add.
[[nodiscard]] std::string GameCsvHeader(bool withStats, bool waits, bool money);
[[nodiscard]] std::string ToCsv(const PrintedGame& printed);

// An audit: the header and one line a test.
[[nodiscard]] std::string ToCsv(const AuditReport& report);
// A history whose rules change: each period's lines, its first date or draw in a last column.
[[nodiscard]] std::string ToCsv(const std::vector<AuditReport>& periods);

}  // namespace loto
