#pragma once

#include <string>
#include <string_view>

#include "audit/report.h"
#include "cli/options.h"
#include "export/csv.h"
#include "export/json.h"
#include "export/json_numbers.h"
#include "export/printed.h"
#include "rules/jackpot_rounds.h"
#include "stats/lifetimes.h"
#include "stats/waits_law.h"

namespace loto {

// loto-sim's text for people, in English, every number in the forms of the user's locale
// (`separator` its decimal separator).

// A command of 6/49: the seven rows as the form writes them, with the statistics when asked.
[[nodiscard]] std::string ToText(const PrintedCommand& printed, std::string_view separator);
// A command of a game: a table of its tiers, then its money, waits and the tier drawn until.
[[nodiscard]] std::string ToText(const PrintedGame& printed, std::string_view separator);

// The summaries after the last command.
[[nodiscard]] std::string WaitsText(const std::string& tier, const WaitsSample& sample,
                                    const WaitsTest& test, std::string_view separator);
[[nodiscard]] std::string LifetimesText(const Lifetimes::Summary& summary,
                                        std::string_view separator);
[[nodiscard]] std::string RoundsText(const Rounds& rounds, std::string_view separator);

// An audit: the tests as a table, the corrections they carry, and a last line that says whether
// anything is unlikely at the level, and what that does not mean.
[[nodiscard]] std::string ToText(const AuditReport& report, std::string_view separator);
// A history whose rules change: where they do, then each period's audit.
[[nodiscard]] std::string ToText(const std::vector<AuditReport>& periods,
                                 std::string_view separator);
// A result in the format asked for: the text above, JSON or CSV.
template <typename Result>
[[nodiscard]] std::string Formatted(Output output, const Result& result,
                                    std::string_view separator) {
    switch (output) {
        case Output::Json:
            return DumpJson(ToJson(result)) + '\n';
        case Output::Csv:
            return ToCsv(result);
        case Output::Text:
            break;
    }
    return ToText(result, separator);
}

// Why an audit's pools are guessed, for the warning.
[[nodiscard]] std::string GuessText(const Game& game);

}  // namespace loto
