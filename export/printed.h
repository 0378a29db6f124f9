#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "form/simulate_report.h"
#include "report/game_figures.h"
#include "stats/significance.h"

namespace loto {

// A command as loto-sim prints it: where it stands in the run (its stream and its place from 1)
// and its report, which its printers read and nothing else.

// A command of the designed form, 6/49 against a grid, with the significance of its tally when
// asked and it drew, stopped or not.
struct PrintedCommand {
    std::uint64_t stream = 0;
    int command = 0;
    SimulateReport report;
    bool statsAsked = false;
    std::optional<Significance> stats{};
};

[[nodiscard]] PrintedCommand MakePrintedCommand(std::uint64_t stream, int command,
                                                SimulateReport report, bool statsAsked);

// A command of a game, by tier.
struct PrintedGame {
    std::uint64_t stream = 0;
    int command = 0;
    GameFigures figures;
};

// The name of a refused input, as loto-sim's arguments name it: DRAWS, G1 to G6.
[[nodiscard]] std::string InputName(int input);

}  // namespace loto
