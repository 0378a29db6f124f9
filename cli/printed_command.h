#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/significance.h"
#include "core/commands.h"

namespace loto {

// One command as loto-sim prints it: the command's report, where it stands in the run and, when
// asked, the significance of its tally. The text, JSON and CSV printers read nothing else.
struct PrintedCommand {
    std::uint64_t stream = 0;  // of the generator's sequence
    int command = 0;           // from 1
    SimulateReport report;
    bool statsAsked = false;
    std::optional<Significance> stats{};  // when asked and the command drew, stopped or not

    [[nodiscard]] bool interrupted() const noexcept { return report.outcome == Outcome::Stopped; }
    [[nodiscard]] bool completed() const noexcept { return report.outcome == Outcome::Completed; }
    // The figures behind the boxes: an expected count (a Single, as the window holds it) once the
    // command completed, and a deviation when one could be formed.
    [[nodiscard]] std::optional<float> Expected(int k) const;
    [[nodiscard]] std::optional<double> Deviation(int k) const;
};

[[nodiscard]] PrintedCommand MakePrintedCommand(std::uint64_t stream, int command,
                                                SimulateReport report, bool statsAsked);

// The name of a refused input, as loto-sim's arguments name it: DRAWS, G1 to G6.
[[nodiscard]] std::string InputName(int input);

}  // namespace loto
