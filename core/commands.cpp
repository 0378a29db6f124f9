#include "core/commands.h"

#include <optional>
#include <utility>

#include "core/draws.h"
#include "core/grid_check.h"
#include "core/speed_test.h"
#include "core/statistics.h"
#include "platform/number_text.h"
#include "platform/text_to_number.h"

namespace loto {
namespace {

constexpr std::string_view kExpectedPattern = "##0.########";
constexpr std::string_view kDeviationPattern = "#####0.#####";
constexpr std::uint64_t kTestGridMask = NumberMask({1, 2, 3, 4, 5, 6});

void WriteResults(CommandWindow& window, const SimulateReport& report, std::string_view separator) {
    for (int k = 0; k < kResultRows; ++k) {
        window.SetResultText(ResultColumn::Stat, k,
                             CountToText(static_cast<double>(report.tally[k]), separator));
    }
    for (int k = 0; k < kResultRows; ++k) {
        window.SetResultText(ResultColumn::Theo, k,
                             FormatSinglePattern(report.expected[k], kExpectedPattern, separator));
    }
    // A deviation that cannot be formed leaves its box empty.
    for (int k = 0; k < kResultRows; ++k) {
        window.SetResultText(ResultColumn::Ecart, k,
                             FormatPattern(report.deviations[k], kDeviationPattern, separator));
    }
}

// The favourites, read in box order; the position of the first unreadable one otherwise.
struct EnteredFavourites {
    EnteredGrid values{};
    int unreadable = 0;
};

EnteredFavourites ReadFavourites(CommandWindow& window) {
    EnteredFavourites read;
    for (int position = 1; position <= kFavouriteCount; ++position) {
        const std::optional<double> value = TextToNumber(window.FavouriteText(position));
        if (!value) {
            read.unreadable = position;
            return read;
        }
        read.values[static_cast<std::size_t>(position - 1)] = *value;
    }
    return read;
}

// Ends a command whose grid cannot be drawn against: the estimate goes with the wait message and
// the invalid-grid message shows, for a number beyond the range of numbers as for any other.
SimulateReport Refuse(CommandWindow& window, SimulateReport report, Outcome outcome, int input) {
    window.SetEstimateText("");
    window.SetMessageVisible(Message::Patientez, false);
    window.SetMessageVisible(Message::ValidGrille, true);
    report.outcome = outcome;
    report.refusedInput = input;
    report.estimate.reset();
    return report;
}

// The messages of a refused input, hidden as a command starts and again once its speed test is
// over (a command nested in the test may have shown one).
void HideRefusals(CommandWindow& window) {
    window.SetMessageVisible(Message::ValidGrille, false);
    window.SetMessageVisible(Message::ValidNbTirages, false);
}

}  // namespace

LotoCommands::LotoCommands(RunTime& runTime, unsigned threads, const GeneratorState& start)
    : runTime_(runTime), source_(start), engine_(threads) {}

DrawRun LotoCommands::Draw(std::uint64_t count, std::uint64_t gridMask, Tally& tally,
                           EventPump& pump) {
    return engine_.Run(source_.state(), count, gridMask, tally, pump);
}

void LotoCommands::ClearCommand(CommandWindow& window) {
    window.SetEstimateText("");
    for (const ResultColumn column :
         {ResultColumn::Stat, ResultColumn::Theo, ResultColumn::Ecart}) {
        for (int k = 0; k < kResultRows; ++k) {
            window.SetResultText(column, k, "");
        }
    }
}

bool LotoCommands::SpeedTest(CommandWindow& window, EventPump& pump, SimulateReport& report) {
    const double requested = report.requested;
    window.SetMessageVisible(Message::Test, true);
    const std::uint64_t testDraws = TestDrawCount(requested);
    Tally tally{};  // nothing of the test reaches the results
    const double nestedBefore = nestedSeconds_;
    const double start = runTime_.MonotonicSeconds();
    if (Draw(testDraws, kTestGridMask, tally, pump).stopped) {
        return false;
    }
    const SystemTime reference = runTime_.Now();
    const double seconds = runTime_.MonotonicSeconds() - start - (nestedSeconds_ - nestedBefore);
    // Beyond the range of dates, in the user's local time, the box stays empty and the run goes
    // on.
    report.estimate = CompletionEstimate(requested, testDraws, seconds, reference);
    const std::optional<LocalDateTime> local =
        report.estimate ? std::optional(runTime_.LocalTime(*report.estimate)) : std::nullopt;
    if (local && InDateRange(*local)) {
        window.SetEstimateText(runTime_.DateText(*local));
    } else {
        report.estimate.reset();
    }
    return true;
}

SimulateReport LotoCommands::SimulateCommand(CommandWindow& window, EventPump& pump) {
    const double outerNested = std::exchange(nestedSeconds_, 0.0);
    const double started = runTime_.MonotonicSeconds();
    const SimulateReport report = Simulate(window, pump);
    // The whole of this command is nested time for the one whose event processing it ran in.
    nestedSeconds_ = outerNested + (runTime_.MonotonicSeconds() - started);
    return report;
}

SimulateReport LotoCommands::Simulate(CommandWindow& window, EventPump& pump) {
    HideRefusals(window);
    ClearCommand(window);
    const std::optional<double> requested = TextToNumber(window.DrawCountText());
    if (!requested) {
        // No count to time or draw: the command says why and ends.
        window.SetMessageVisible(Message::ValidNbTirages, true);
        return {.outcome = Outcome::Unreadable, .refusedInput = 0};
    }
    SimulateReport report{.requested = *requested};
    if (!SpeedTest(window, pump, report)) {
        report.outcome = Outcome::Stopped;
        return report;
    }
    window.SetMessageVisible(Message::Test, false);
    window.SetMessageVisible(Message::Patientez, true);
    HideRefusals(window);

    const EnteredFavourites favourites = ReadFavourites(window);
    if (favourites.unreadable != 0) {
        return Refuse(window, report, Outcome::Unreadable, favourites.unreadable);
    }
    const std::optional<Numbers> grid = GridCheck(favourites.values);
    if (!grid) {
        return Refuse(window, report, Outcome::InvalidGrid, OffendingFavourite(favourites.values));
    }

    const double start = runTime_.MonotonicSeconds();
    const DrawRun run = Draw(DrawCount(*requested), NumberMask(*grid), report.tally, pump);
    report.drawSeconds = runTime_.MonotonicSeconds() - start;
    report.drawsDone = run.done;
    if (run.stopped) {
        report.outcome = Outcome::Stopped;
        return report;
    }
    report.expected = ComputeExpectedCounts(*requested);
    report.deviations = ComputeDeviations(report.expected, report.tally);
    WriteResults(window, report, runTime_.DecimalSeparator());
    window.SetMessageVisible(Message::Patientez, false);
    return report;
}

}  // namespace loto
