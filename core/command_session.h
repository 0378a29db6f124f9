#pragma once

#include <optional>

#include "core/commands.h"

namespace loto {

// The commands of one window as its buttons run them, the same for every front end: a click on
// "SIMULER" runs a command, nested in the running one's event processing when a run is under
// way, up to a bound; the end of a run is announced; "QUITTER", or a pump that says the run may
// not go on, stops every running command at its next event processing, after which the session
// takes no further command.
class CommandSession {
public:
    // Each nested command takes some stack (about 2 KB here, more under Asyncify in a page): past
    // this many running commands a click on "SIMULER" does nothing.
    static constexpr int kMaxRunningCommands = 100;

    CommandSession(RunTime& runTime, unsigned threads, const GeneratorState& start = kSeedState)
        : commands_(runTime, threads, start) {}

    // "SIMULER": the command's report, or none when the session refused the click.
    std::optional<SimulateReport> Simulate(CommandWindow& window, EventPump& pump);
    // "EFFACER".
    void Clear(CommandWindow& window);
    // "QUITTER": every running command stops at its next event processing.
    void Quit() noexcept { stopped_ = true; }

    [[nodiscard]] bool stopped() const noexcept { return stopped_; }
    // How many "SIMULER" commands are running, nested ones included.
    [[nodiscard]] int running() const noexcept { return running_; }
    [[nodiscard]] const LotoCommands& commands() const noexcept { return commands_; }

private:
    LotoCommands commands_;
    int running_ = 0;
    bool stopped_ = false;
};

}  // namespace loto
