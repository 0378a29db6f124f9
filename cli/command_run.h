#pragma once

#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "charts/run_chart.h"
#include "cli/checked_output.h"
#include "cli/exit_status.h"
#include "cli/options.h"
#include "cli/terminal_pump.h"
#include "platform/system_run_time.h"

namespace loto {

// What a run of commands shares, 6/49's and a game's alike: the system's clock and locale, the
// output that every result goes to, the pump, the chart of the run so far, and how the run ends.
// It stops at the first result that cannot be written and at an interrupt, which the command
// that heard it reports with what it drew.
class CommandRun {
public:
    // The values of one command: the number of draws, then the favourites or the ticket.
    using Command = std::function<void(std::span<const std::string_view> values)>;

    CommandRun(const CommandSettings& settings, std::function<CommandShown()> shown);

    // The commands of the arguments, or of the lines of `input` with a batch, each given to
    // `command` until the run ends; `fields`: how many each batch line must hold, 0 for any. The
    // CSV header first, when CSV is asked for.
    void RunCommands(std::FILE* input, const std::string& csvHeader, std::size_t fields,
                     const Command& command);

    // Writes a command's or a summary's result; false, and the run ends, when it cannot be.
    bool Print(const std::string& text);
    // The place of the next command from 1.
    [[nodiscard]] int NextCommand() noexcept { return ++commands_; }
    // A command drew nothing for an input that it refused: the run goes on, and fails at its end.
    void Refused() noexcept { refused_ = true; }
    // The run ends now with that status: a usage error, or an interrupt heard by a command.
    void End(ExitStatus status) noexcept { ended_ = status; }
    [[nodiscard]] bool ended() const noexcept { return ended_.has_value(); }
    // After a command that a signal stopped and that was printed: the run ends with the
    // signal's status.
    void EndIfStopped(bool stopped) noexcept;

    // The run so far for the chart, when one is asked for: a command's draws and counts by the
    // chart's rows, which must be the same for every command.
    void Chart(std::uint64_t draws, const std::vector<std::uint64_t>& counts,
               const std::vector<double>& probabilities, ChartRows rows);
    // How the run ends, the chart written when one is asked for: `svg` where the run's chart is
    // another (the waits'), else the deviations'. What ended the run early comes first, then the
    // chart, then a refused command.
    [[nodiscard]] ExitStatus Finish(const std::optional<std::string>& svg = std::nullopt);

    [[nodiscard]] SystemRunTime& runTime() noexcept { return runTime_; }
    [[nodiscard]] TerminalPump& pump() noexcept { return pump_; }
    [[nodiscard]] std::string_view separator() const { return runTime_.DecimalSeparator(); }
    [[nodiscard]] const CommandSettings& settings() const noexcept { return settings_; }
    // Says so on standard error when fewer threads than asked for could start.
    void SayThreads(unsigned started) const;

private:
    void RunBatch(std::FILE* input, std::size_t fields, const Command& command);
    [[nodiscard]] ExitStatus WriteChart(const std::optional<std::string>& svg) const;

    const CommandSettings& settings_;
    SystemRunTime runTime_;
    CheckedOutput out_{stdout};
    TerminalPump pump_;
    int commands_ = 0;
    bool refused_ = false;
    // How the run ends early (output lost, interrupted, a batch it cannot read), once it does.
    std::optional<ExitStatus> ended_;
    // The run so far after each command that drew, kept only for a chart.
    std::optional<ChartSeries> chart_;
    ChartRows chartRows_;
    bool chartRowsDiffer_ = false;
};

}  // namespace loto
