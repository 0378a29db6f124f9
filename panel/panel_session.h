#pragma once

#include <string>
#include <string_view>

#include "charts/chart_series.h"
#include "core/game_session.h"
#include "report/game_figures.h"
#include "report/run_summary.h"

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
    std::string until{};      // a tier, or "tout" for any prize
    std::string repeats{};    // JUSQU'AU RANG that many times, its waits tested; blank: once
    std::string lifetimes{};  // LANCER that many lifetimes of the draws, their nets summarised
    std::string rules{};      // the file of one of loto-sim's example rules; empty for none
};

// The boxes as one of loto-sim's example rules fill them: its game, its price, each tier's prize
// as advertised at its jackpot now and its draws a week, the other boxes as they are; none for a
// file that is none of the examples.
[[nodiscard]] std::optional<PanelFields> RulesFields(std::string_view file, PanelFields fields);

// The boxes that ask for several commands.
enum class PanelCount { Repeats, Lifetimes };

// The most repetitions or lifetimes that the panel runs at once: enough for the waits' test and
// the percentiles, and each one's lines kept for the files.
inline constexpr int kMostPanelRuns = 1000;

// What the panel asks for: a run as SIMULER runs, after a speed test, or draws until a tier, on
// from where the previous run ended.
enum class PanelCommand { Run, Until };

// What a run of the panel showed: the refusal of what was typed, or the figures of what it drew
// (the last command of its repetitions or lifetimes), as loto-sim figures the same commands with
// their statistics, their waits' test or lifetimes' summary, the chart, and loto-sim's files.
struct PanelShown {
    std::string refusal{};  // empty for a run
    GameFigures figures{};
    int command = 0;     // its place among the commands not refused: loto-sim's, from a fresh start
    int commands = 0;    // the commands that this run drew, repetitions or lifetimes
    int asked = 1;       // and those asked for
    bool lives = false;  // lifetimes, not repetitions
    std::optional<RunSummary::Waits> waits{};
    std::optional<Lifetimes::Summary> lifetimes{};
    // loto-sim's --svg: the waits' against their law after repetitions, or the commands of these
    // tiers so far, this run's last; empty when it drew nothing whole.
    std::string chart{};
    std::uint64_t chartRuns = 0;
    // loto-sim's --json and --csv lines of this run's commands (and the summary in JSON).
    std::string json{};
    std::string csv{};
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
    // The command that draws, from 1, of those of the run; 0 of 0 between runs.
    [[nodiscard]] std::pair<int, int> repetition() const noexcept { return repetition_; }

private:
    // Adds a command to the chart, which another game or ticket of other tiers starts anew.
    void Chart(PanelShown& shown);
    // A command's figures, with its lines in loto-sim's files.
    void Figure(PanelShown& shown, const DrawRule& rule, GameReport report, const Play& play);
    // The waits' test or the lifetimes' summary, after the last command, as loto-sim's.
    static void Summarise(PanelShown& shown, const RunSummary& summary);

    GameSession session_;
    int commands_ = 0;
    std::pair<int, int> repetition_{};
    std::optional<ChartSeries> chart_{};
    std::vector<std::string> chartNames_{};
};

// The word that asks the panel for any prize: "tout".
inline constexpr std::string_view kAnyPrizeWord = "tout";

}  // namespace loto
