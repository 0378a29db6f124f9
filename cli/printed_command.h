#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "form/simulate_report.h"
#include "stats/significance.h"

namespace loto {

// One command as loto-sim prints it: the command's report, where it stands in the run and, when
// asked, the significance of its tally. The text, JSON and CSV printers read nothing else.
struct PrintedCommand {
    std::uint64_t stream = 0;  // of the generator's sequence
    int command = 0;           // from 1
    SimulateReport report;
    bool statsAsked = false;
    std::optional<Significance> stats{};  // when asked and the command drew, stopped or not
};

[[nodiscard]] PrintedCommand MakePrintedCommand(std::uint64_t stream, int command,
                                                SimulateReport report, bool statsAsked);

// The name of a refused input, as loto-sim's arguments name it: DRAWS, G1 to G6.
[[nodiscard]] std::string InputName(int input);

}  // namespace loto
