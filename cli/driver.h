#pragma once

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "charts/run_chart.h"
#include "cli/batch_input.h"
#include "cli/checked_output.h"
#include "cli/exit_status.h"
#include "cli/money_report.h"
#include "cli/options.h"
#include "cli/play_summary.h"
#include "cli/terminal_pump.h"
#include "core/game_session.h"
#include "form/command_session.h"
#include "platform/system_run_time.h"
#include "stats/lifetimes.h"
#include "stats/waits_law.h"

namespace loto {

// Runs loto-sim's commands one after the other and prints each as soon as it ends. Without a
// game, in one command session, as clicks on SIMULER in one window: the values typed into the
// form's boxes. With one, in one session of that game, each command's values a ticket. Stops at
// the first result that cannot be written and at an interrupt, which it reports with what was
// drawn so far.
class Driver {
public:
    explicit Driver(const Options& options);

    // The commands of the arguments, or of the lines of `input` with a batch.
    void RunCommands(std::FILE* input);
    // Writes the chart when one was asked for; how the program ends.
    [[nodiscard]] ExitStatus Finish();

private:
    // The CSV header, when CSV was asked for; false when it cannot be written.
    bool Start();
    // One command of the values typed: the number of draws, then the favourites or the ticket.
    void Run(std::span<const std::string_view> values);
    void RunForm(std::span<const std::string_view> values);
    void RunGame(std::span<const std::string_view> values);
    void RunBatch(std::FILE* input);
    // What the options of money and waiting times make of a ticket; none, said, when they
    // cannot be played with it.
    std::optional<PlayShown> Play(const DrawRule& rule, std::vector<int>& until);
    // After a command of a game: its wait or its lifetime's net, for the summary.
    void Follow(const PrintedGame& printed, const std::vector<int>& until);
    // The waits' test or the lifetimes' summary, after the last command.
    void Summarise();
    bool Print(const std::string& text);
    // The run so far for the chart, when one is asked for: the command's draws and counts by the
    // chart's rows, which must be the same for every command.
    void Chart(std::uint64_t draws, const std::vector<std::uint64_t>& counts,
               const std::vector<double>& probabilities, ChartRows rows);
    [[nodiscard]] ExitStatus WriteChart() const;
    [[nodiscard]] ExitStatus WriteSvg(const std::string& svg) const;

    const Options& options_;
    SystemRunTime runTime_;
    std::optional<CommandSession> form_;  // without a game
    std::optional<GameSession> games_;    // with one
    CheckedOutput out_{stdout};
    TerminalPump pump_;
    int commandsRun_ = 0;
    bool refused_ = false;  // a command drew nothing for an input it refused
    // How the program ends early (output lost, interrupted, a batch it cannot read), once it does.
    std::optional<ExitStatus> ended_;
    // The run so far after each command that drew, kept only for a chart.
    std::optional<ChartSeries> chart_;
    ChartRows chartRows_;
    bool chartRowsDiffer_ = false;
    // The waits of commands drawn until a tier, and the nets of lifetimes, for their summaries.
    std::optional<WaitsSample> waits_;
    std::optional<Lifetimes> lifetimes_;
};

}  // namespace loto
