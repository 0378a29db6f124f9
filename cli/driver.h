#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/chart.h"
#include "cli/checked_output.h"
#include "cli/headless_window.h"
#include "cli/options.h"
#include "core/commands.h"
#include "platform/system_run_time.h"

namespace loto {

// Runs loto-sim's commands one after the other on one generator, as clicks on SIMULER in one
// window, and prints each as soon as it ends. Stops at the first result that cannot be written
// and at an interrupt, which it reports with what was drawn so far.
class Driver {
public:
    static constexpr int kRefused = 1;
    static constexpr int kFailed = 1;  // output lost, input unreadable
    static constexpr int kUsageError = 2;

    explicit Driver(const Options& options);

    // The CSV header, when CSV was asked for; false when it cannot be written.
    bool Start();
    // Runs the command of the seven boxes; its exit status.
    int Run(HeadlessWindow::Inputs boxes);
    // One command per line of `input`; the worst exit status.
    int RunBatch(std::FILE* input);
    // The status that ends the program early (output lost, interrupted), once there is one.
    [[nodiscard]] std::optional<int> ended() const noexcept { return ended_; }
    // Writes the chart of the commands that drew, when one was asked for; its exit status.
    [[nodiscard]] int WriteChart() const;

private:
    bool Print(const std::string& text);

    const Options& options_;
    SystemRunTime runTime_;
    LotoCommands commands_;
    CheckedOutput out_{stdout};
    bool showProgress_;
    int commandsRun_ = 0;
    std::optional<int> ended_;
    // The run so far after each command that drew, kept only for a chart.
    ChartSeries chart_;
};

}  // namespace loto
