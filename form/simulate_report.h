#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/draws.h"
#include "core/enum_array.h"
#include "core/statistics.h"
#include "form/vocabulary.h"
#include "platform/date_time.h"

namespace loto {

enum class Outcome {
    Completed,    // the draws ran and the results were written
    InvalidGrid,  // the grid was refused and the message shown
    Unreadable,   // an input held a number beyond the Double range; nothing was drawn
    Stopped,      // every running command was asked to stop (the window is closing, an interrupt)
};

// The texts of the 21 result boxes, by column and k.
using ResultTexts = EnumArray<ResultColumn, PerRow<std::string>>;

// One command as every view shows it, made once: its figures, what of them the form shows, and
// the form's texts of them.
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
    ExpectedCounts expected{};  // when completed
    Deviations deviations{};
    // The result boxes' texts: when completed, what the form shows; when stopped, the counts so
    // far, which the form does not show.
    ResultTexts texts{};

    [[nodiscard]] bool refused() const noexcept {
        return outcome == Outcome::InvalidGrid || outcome == Outcome::Unreadable;
    }
    [[nodiscard]] bool completed() const noexcept { return outcome == Outcome::Completed; }
    [[nodiscard]] bool stopped() const noexcept { return outcome == Outcome::Stopped; }
    // The figures behind the boxes, the one rule of what the form shows: an expected count (a
    // Single, as the form holds it) once the command completed, where it is a number; a
    // deviation where one could be formed.
    [[nodiscard]] std::optional<float> ShownExpected(int k) const;
    [[nodiscard]] std::optional<double> ShownDeviation(int k) const;
};

// The texts of the result boxes of a report: nothing for a refused command, the counts of any
// other, and the figures that it shows, in the patterns of the design.
[[nodiscard]] ResultTexts ShownTexts(const SimulateReport& report, std::string_view separator);

}  // namespace loto
