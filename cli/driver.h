#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "cli/batch_input.h"
#include "cli/chart.h"
#include "cli/checked_output.h"
#include "cli/exit_status.h"
#include "cli/options.h"
#include "cli/terminal_pump.h"
#include "form/command_session.h"
#include "platform/system_run_time.h"

namespace loto {

// Runs loto-sim's commands one after the other in one command session, as clicks on SIMULER in
// one window: the values typed into the form's boxes, each command printed as soon as it ends.
// Stops at the first result that cannot be written and at an interrupt, which it reports with what
// was drawn so far.
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
    // One click: the texts of the draws' box and of the six favourites' typed first.
    void Run(const BoxTexts& boxes);
    void RunBatch(std::FILE* input);
    bool Print(const std::string& text);
    [[nodiscard]] ExitStatus WriteChart() const;

    const Options& options_;
    SystemRunTime runTime_;
    CommandSession session_;
    CheckedOutput out_{stdout};
    TerminalPump pump_;
    int commandsRun_ = 0;
    bool refused_ = false;  // a command drew nothing for an input it refused
    // How the program ends early (output lost, interrupted, a batch it cannot read), once it does.
    std::optional<ExitStatus> ended_;
    // The run so far after each command that drew, kept only for a chart.
    ChartSeries chart_;
};

}  // namespace loto
