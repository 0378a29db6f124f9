#pragma once

#include <string>
#include <string_view>

#include "charts/chart_series.h"
#include "core/game_session.h"
#include "report/game_figures.h"

namespace loto {

// The panel of any game that the page shows beside the designed form: its boxes' texts.
struct PanelFields {
    std::string game = "6/49";
    std::string ticket = "1 2 3 4 5 6";  // blanks, commas or semicolons between the numbers
    std::string second{};                // the second pool's numbers, in a game with one
    std::string draws = "1000000";
    std::string price{};
    std::string prizes{};  // TIER=AMOUNT, as many as wanted, between blanks
    std::string drawsPerWeek{};
    std::string until{};  // a tier, or "tout" for any prize
};

// What the panel asks for: a run as SIMULER runs, after a speed test, or draws until a tier, on
// from where the previous run ended.
enum class PanelCommand { Run, Until };

// What a run of the panel showed: the refusal of what was typed, or the figures of what it drew,
// as loto-sim figures the same command with its statistics, and the chart of the runs so far.
struct PanelShown {
    std::string refusal{};  // empty for a run
    GameFigures figures{};
    int command = 0;  // its place among the runs not refused: loto-sim's, from a fresh start
    // loto-sim's --svg of the runs of these tiers so far, this one last; empty when it drew
    // nothing whole.
    std::string chart{};
    std::uint64_t chartRuns = 0;
};

// The panel's commands over a generator of its own, seeded as the design's, so that its runs are
// loto-sim's runs of the same game, ticket, prizes and tier from a fresh start: `--game`,
// `--price`, `--prize`, `--draws-per-week` and `--until`, with waits.
class PanelSession {
public:
    PanelSession(RunTime& runTime, unsigned threads);

    // The pump runs between slices of draws; the run stops when it says so.
    [[nodiscard]] PanelShown Run(const PanelFields& fields, PanelCommand command, EventPump& pump);

    [[nodiscard]] const GameSession& game() const noexcept { return session_; }

private:
    // Adds the run to the chart, which another game or ticket of other tiers starts anew.
    void Chart(PanelShown& shown);

    GameSession session_;
    int commands_ = 0;
    std::optional<ChartSeries> chart_{};
    std::vector<std::string> chartNames_{};
};

// The word that asks the panel for any prize: "tout".
inline constexpr std::string_view kAnyPrizeWord = "tout";

}  // namespace loto
