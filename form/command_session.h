#pragma once

#include <cstdint>
#include <optional>

#include "core/game_session.h"
#include "core/grid_check.h"
#include "form/form_model.h"
#include "form/simulate_report.h"
#include "platform/event_pump.h"
#include "platform/run_time.h"

namespace loto {

// The commands of the designed form over one generator, as its buttons run them, the same for
// every view: each view shows the session's model, and hands it its buttons' clicks and its event
// processing. A click on "SIMULER" runs a command, nested in the running one's event processing
// when a run is under way, up to a bound; the end of a run is announced; "QUITTER", or a pump
// that says the run may not go on, stops every running command at its next event processing,
// after which the session takes no further command.
class CommandSession {
public:
    // Each nested command takes some stack (about 2 KB here, more under Asyncify in a page): past
    // this many running commands a click on "SIMULER" does nothing.
    static constexpr int kMaxRunningCommands = 100;

    // `threads` draw, each on every lane of its core: 0 for every hardware thread. The generator
    // is seeded here, as the window's load event seeds it, or starts from `start`.
    CommandSession(RunTime& runTime, unsigned threads, const GeneratorState& start = kSeedState);

    [[nodiscard]] FormModel& model() noexcept { return model_; }
    [[nodiscard]] const FormModel& model() const noexcept { return model_; }

    // "SIMULER": the command's report, or none when the session refused the click. The pump runs
    // between slices of draws and may run other clicks there, which share the one generator.
    std::optional<SimulateReport> ClickSimuler(EventPump& pump);
    // "EFFACER": the estimate and the 21 result boxes emptied; inputs and messages stay.
    void ClickEffacer();
    // "QUITTER": every running command stops at its next event processing.
    void Quit() noexcept { stopped_ = true; }

    [[nodiscard]] bool stopped() const noexcept { return stopped_; }
    // How many "SIMULER" commands are running, nested ones included.
    [[nodiscard]] int running() const noexcept { return running_; }
    [[nodiscard]] const GeneratorState& state() const noexcept { return session_.state(); }
    // The threads that draw: fewer than asked for when the system could not start them all.
    [[nodiscard]] unsigned threads() const noexcept { return session_.threads(); }
    void Share(DrawPeers* peers) noexcept { session_.Share(peers); }

private:
    // The steps of "SIMULER": speed test and estimate, grid check, the requested draws and their
    // statistics.
    SimulateReport SimulateCommand(EventPump& pump);
    // Times the test draws on the grid 1 to 6, less the commands that ran nested in them, and
    // writes the estimate, into the report too; false when stopped.
    bool SpeedTest(EventPump& pump, SimulateReport& report);
    // The requested draws of 6/49 against the grid, into the report; false when stopped.
    bool Draw(const Numbers& grid, EventPump& pump, SimulateReport& report);
    void EmptyOutputs();
    void HideRefusals();
    [[nodiscard]] SimulateReport Refuse(SimulateReport report, Outcome outcome, int input);
    [[nodiscard]] SimulateReport Stopped(SimulateReport report) const;
    void WriteResults(const ResultTexts& texts);

    RunTime& runTime_;
    FormModel model_;
    GameSession session_;
    int running_ = 0;
    bool stopped_ = false;
    // Time spent in the commands that ran nested inside the running one's event processing.
    double nestedSeconds_ = 0;
};

}  // namespace loto
