#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "audit/report.h"
#include "export/printed.h"
#include "rules/jackpot_rounds.h"
#include "stats/lifetimes.h"
#include "stats/waits_law.h"

namespace loto {

// loto-sim's JSON, one object a command or summary, its numbers as numbers that jq reads in the
// C locale's forms (export/json_numbers.h): the bytes loto-sim writes and the page offers alike.

// A command of 6/49: the figures as numbers (null where the form shows nothing), the estimate as
// an ISO 8601 local time, the form's own texts under "texts", why a command was refused, and
// "stats" when asked (null when the command drew nothing).
[[nodiscard]] nlohmann::json ToJson(const PrintedCommand& printed);

// A command of a game: the game, the ticket, each tier with its count, expected count,
// probability and deviation (z and p with the statistics, its waits with the play's), the draws,
// their time and the estimate, the money, the wait for any prize and the tier drawn until.
[[nodiscard]] nlohmann::json ToJson(const PrintedGame& printed);

// The summaries after the last command: {"waits": {...}}, {"summary": {...}}.
[[nodiscard]] nlohmann::json WaitsJson(const std::string& tier, const WaitsSample& sample,
                                       const WaitsTest& test);
[[nodiscard]] nlohmann::json LifetimesJson(const Lifetimes::Summary& summary);

// An audit: "draws", "game", "ticket", "set_aside", "tests" and "flagged".
[[nodiscard]] nlohmann::json ToJson(const AuditReport& report);
// The lottery played as a process: {"rounds": {...}}.
[[nodiscard]] nlohmann::json RoundsJson(const Rounds& rounds);
// An audit of a history whose rules change, a report a period: the draws and lines set aside of
// the whole, and `periods`, each with its dates, game, draws, tests and whether it is flagged.
[[nodiscard]] nlohmann::json ToJson(const std::vector<AuditReport>& periods);

}  // namespace loto
