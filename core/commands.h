#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/command_window.h"
#include "core/draws.h"
#include "core/parallel_engine.h"
#include "core/random_source.h"
#include "core/statistics.h"
#include "platform/run_time.h"

namespace loto {

enum class Outcome {
    Completed,    // the draws ran and the results were written
    InvalidGrid,  // the grid was refused and the message shown
    Unreadable,   // an input held a number beyond the Double range; nothing was drawn
    Stopped,      // the event pump asked every running command to stop (the window is closing)
};

// One command as every view shows it, made once: its figures and the window's texts of them.
struct SimulateReport {
    Outcome outcome = Outcome::Completed;
    // With InvalidGrid, the favourite (1 to 6) that makes the grid invalid; with Unreadable, the
    // input that holds a number beyond the range of numbers: 0 for the draw count.
    int refusedInput = 0;
    // When the draws should end, in local time, once the speed test is over; none beyond the
    // range of dates.
    std::optional<LocalDateTime> estimate{};
    std::string estimateText{};  // as TxtDateFin shows it
    std::uint64_t drawsDone = 0;
    double drawSeconds = 0;     // time spent on the requested draws
    double requested = 0;       // N as read from its box
    Tally tally{};              // of the requested draws: all of them, or those done when stopped
    ExpectedCounts expected{};  // when completed: what the window shows, as numbers
    Deviations deviations{};
    // The result boxes' texts: when completed, what the window shows; when stopped, the counts so
    // far, which the window does not show.
    ResultTexts texts{};

    [[nodiscard]] bool refused() const noexcept {
        return outcome == Outcome::InvalidGrid || outcome == Outcome::Unreadable;
    }
};

// The commands of the window over one generator: what "SIMULER" and "EFFACER" do, step by step,
// whichever window they run in. Every front end drives this one object through a CommandSession,
// so they draw the same numbers and write the same texts.
class LotoCommands {
public:
    // `threads` draw, each on every lane of its core: 0 for every hardware thread. The generator
    // is seeded here, as the window's load event seeds it, or starts from `start`.
    LotoCommands(RunTime& runTime, unsigned threads, const GeneratorState& start = kSeedState);

    // Speed test and estimate, grid check, the requested draws and their statistics. The pump
    // runs between slices of draws and may run other commands there, which share the one
    // generator.
    SimulateReport SimulateCommand(CommandWindow& window, EventPump& pump);

    // Empties the estimate and the 21 result boxes; inputs and messages stay.
    static void ClearCommand(CommandWindow& window);

    [[nodiscard]] const GeneratorState& state() const noexcept { return source_.state(); }
    // The threads that draw: fewer than asked for when the system could not start them all.
    [[nodiscard]] unsigned threads() const noexcept { return engine_.threads(); }

private:
    SimulateReport Simulate(CommandWindow& window, EventPump& pump);
    // Times the test draws on the grid 1 to 6, less the commands that ran nested in them, and
    // writes the estimate, into the report too; false when stopped.
    bool SpeedTest(CommandWindow& window, EventPump& pump, SimulateReport& report);
    [[nodiscard]] SimulateReport Stopped(SimulateReport report) const;
    DrawRun Draw(std::uint64_t count, std::uint64_t gridMask, Tally& tally, EventPump& pump,
                 const DrawProgress& phase);

    RunTime& runTime_;
    RandomSource source_;
    ParallelDrawEngine engine_;
    // Time spent in the commands that ran nested inside the running one's event processing.
    double nestedSeconds_ = 0;
};

}  // namespace loto
