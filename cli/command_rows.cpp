#include "cli/command_rows.h"

#include <cmath>

namespace loto {

std::string InputName(int input) {
    static constexpr const char* kNames[] = {"DRAWS", "G1", "G2", "G3", "G4", "G5", "G6"};
    return kNames[input];
}

CommandRows MakeCommandRows(int command, const HeadlessWindow& window, const SimulateReport& report,
                            std::optional<LocalDateTime> estimate, bool statsAsked) {
    CommandRows rows{.command = command,
                     .outcome = report.outcome,
                     .refusedInput = report.refusedInput,
                     .estimateText = window.estimate(),
                     .estimate = estimate,
                     .draws = report.drawsDone,
                     .seconds = report.drawSeconds,
                     .statsAsked = statsAsked};
    const bool completed = report.outcome == Outcome::Completed;
    for (int k = 0; k < kResultRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        CommandRows::Row& row = rows.rows[i];
        row.observed = report.tally[i];
        // A stopped command writes no box: its count so far stands in for the text.
        row.observedText = rows.interrupted() ? std::to_string(report.tally[i])
                                              : window.result(ResultColumn::Stat, k);
        row.expectedText = window.result(ResultColumn::Theo, k);
        row.deviationText = window.result(ResultColumn::Ecart, k);
        if (completed) {
            row.expected = report.expected[i];
            if (std::isfinite(report.deviations[i])) {
                row.deviation = report.deviations[i];
            }
        }
    }
    if (statsAsked) {
        rows.stats = TestSignificance(report.tally, report.drawsDone);
    }
    return rows;
}

}  // namespace loto
