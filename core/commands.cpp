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

// The counts as the window writes them, which a stopped command reports without writing.
PerRow<std::string> CountTexts(const Tally& tally, std::string_view separator) {
    PerRow<std::string> texts;
    for (int k = 0; k < kResultRows; ++k) {
        texts[k] = CountToText(static_cast<double>(tally[k]), separator);
    }
    return texts;
}

ResultTexts ResultsAsTexts(const SimulateReport& report, std::string_view separator) {
    ResultTexts texts;
    texts[ResultColumn::Stat] = CountTexts(report.tally, separator);
    for (int k = 0; k < kResultRows; ++k) {
        texts[ResultColumn::Theo][k] =
            FormatSinglePattern(report.expected[k], kExpectedPattern, separator);
        // A deviation that cannot be formed leaves its box empty.
        texts[ResultColumn::Ecart][k] =
            FormatPattern(report.deviations[k], kDeviationPattern, separator);
    }
    return texts;
}

// Column by column, k = 0 to 6 in each.
void WriteResults(CommandWindow& window, const ResultTexts& texts) {
    for (const ResultColumn column : kResultColumns) {
        for (int k = 0; k < kResultRows; ++k) {
            window.SetResultText(column, k, texts[column][k]);
        }
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
    report.estimateText.clear();
    return report;
}

// The messages of a refused input, hidden as a command starts and again once its speed test is
// over (a command nested in the test may have shown one).
void HideRefusals(CommandWindow& window) {
    window.SetMessageVisible(Message::ValidGrille, false);
    window.SetMessageVisible(Message::ValidNbTirages, false);
}

// The pump of one run of draws, told which phase it is in and what the estimate is.
class PhasePump final : public EventPump {
public:
    PhasePump(EventPump& pump, const DrawProgress& phase) : pump_(pump), phase_(phase) {}

    bool ProcessEvents(const DrawProgress& progress) override {
        DrawProgress told = phase_;
        told.done = progress.done;
        told.total = progress.total;
        return pump_.ProcessEvents(told);
    }

private:
    EventPump& pump_;
    const DrawProgress& phase_;
};

}  // namespace

LotoCommands::LotoCommands(RunTime& runTime, unsigned threads, const GeneratorState& start)
    : runTime_(runTime), source_(start), engine_(threads) {}

DrawRun LotoCommands::Draw(std::uint64_t count, std::uint64_t gridMask, Tally& tally,
                           EventPump& pump, const DrawProgress& phase) {
    PhasePump phased(pump, phase);
    return engine_.Run(source_.state(), count, gridMask, tally, phased);
}

void LotoCommands::ClearCommand(CommandWindow& window) {
    window.SetEstimateText("");
    for (const ResultColumn column : kResultColumns) {
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
    if (Draw(testDraws, kTestGridMask, tally, pump, {.phase = DrawPhase::SpeedTest}).stopped) {
        return false;
    }
    const SystemTime reference = runTime_.Now();
    const double seconds = runTime_.MonotonicSeconds() - start - (nestedSeconds_ - nestedBefore);
    // Beyond the range of dates, in the user's local time, the box stays empty and the run goes
    // on.
    const std::optional<SystemTime> moment =
        CompletionEstimate(requested, testDraws, seconds, reference);
    const std::optional<LocalDateTime> local =
        moment ? std::optional(runTime_.LocalTime(*moment)) : std::nullopt;
    if (local && InDateRange(*local)) {
        report.estimate = local;
        report.estimateText = runTime_.DateText(*local);
        window.SetEstimateText(report.estimateText);
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

// A command stopped by its pump writes nothing more; its counts so far are in its report alone.
SimulateReport LotoCommands::Stopped(SimulateReport report) const {
    report.outcome = Outcome::Stopped;
    report.texts[ResultColumn::Stat] = CountTexts(report.tally, runTime_.DecimalSeparator());
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
        return Stopped(std::move(report));
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
    const DrawRun run = Draw(DrawCount(*requested), NumberMask(*grid), report.tally, pump,
                             {.phase = DrawPhase::Draws, .estimate = report.estimateText});
    report.drawSeconds = runTime_.MonotonicSeconds() - start;
    report.drawsDone = run.done;
    if (run.stopped) {
        return Stopped(std::move(report));
    }
    report.expected = ComputeExpectedCounts(*requested);
    report.deviations = ComputeDeviations(report.expected, report.tally);
    report.texts = ResultsAsTexts(report, runTime_.DecimalSeparator());
    WriteResults(window, report.texts);
    window.SetMessageVisible(Message::Patientez, false);
    return report;
}

}  // namespace loto
