#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "cli/headless_window.h"
#include "cli/significance.h"
#include "core/commands.h"

namespace loto {

// One command of loto-sim as every output shows it, built once: the window's texts, the figures
// behind them, how far it came and, when asked, the significance of its tally. The text, JSON and
// CSV printers read nothing else.
struct CommandRows {
    struct Row {
        std::uint64_t observed = 0;       // the tally, or the tally so far when interrupted
        std::optional<float> expected;    // a Single, as the window holds it; when completed
        std::optional<double> deviation;  // in percent, as shown; when completed and formed
        std::string observedText;         // the window's box, or the count so far
        std::string expectedText;
        std::string deviationText;
    };

    std::uint64_t stream = 0;  // of the generator's sequence
    int command = 0;           // from 1
    Outcome outcome = Outcome::Completed;
    int refusedInput = 0;                   // with InvalidGrid or Unreadable: 0 DRAWS, 1 to 6 G1-G6
    std::string estimateText;               // as the window shows it
    std::optional<LocalDateTime> estimate;  // the same, as a local date and time
    std::array<Row, kResultRows> rows{};
    std::uint64_t draws = 0;
    double seconds = 0;
    bool statsAsked = false;
    std::optional<Significance> stats{};  // when asked and the command drew, stopped or not

    [[nodiscard]] bool interrupted() const noexcept { return outcome == Outcome::Stopped; }
    [[nodiscard]] bool refused() const noexcept {
        return outcome == Outcome::InvalidGrid || outcome == Outcome::Unreadable;
    }
};

// The name of a refused input, as loto-sim's arguments name it: DRAWS, G1 to G6.
[[nodiscard]] std::string InputName(int input);

[[nodiscard]] CommandRows MakeCommandRows(int command, const HeadlessWindow& window,
                                          const SimulateReport& report,
                                          std::optional<LocalDateTime> estimate, bool statsAsked);

}  // namespace loto
