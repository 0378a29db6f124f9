#include "form/command_session.h"

#include <algorithm>
#include <utility>

#include "core/grid_check.h"
#include "core/speed_test.h"
#include "core/statistics.h"
#include "platform/text_to_number.h"

namespace loto {
namespace {

constexpr std::uint64_t kTestGridMask = NumberMask({1, 2, 3, 4, 5, 6});

// The front end's pump, which also stops the session when it says the run may not go on, and
// says so itself once the session has stopped.
class SessionPump final : public EventPump {
public:
    SessionPump(EventPump& pump, CommandSession& session) : pump_(pump), session_(session) {}

    bool ProcessEvents(const DrawProgress& progress) override {
        if (!session_.stopped() && !pump_.ProcessEvents(progress)) {
            session_.Quit();
        }
        return !session_.stopped();
    }

private:
    EventPump& pump_;
    CommandSession& session_;
};

// The favourites, read in box order; the position of the first unreadable one otherwise.
struct EnteredFavourites {
    EnteredGrid values{};
    int unreadable = 0;
};

EnteredFavourites ReadFavourites(const FormModel& model) {
    EnteredFavourites read;
    for (int position = 1; position <= kFavouriteCount; ++position) {
        const std::optional<double> value = TextToNumber(model.Text(FavouriteAt(position)));
        if (!value) {
            read.unreadable = position;
            return read;
        }
        read.values[static_cast<std::size_t>(position - 1)] = *value;
    }
    return read;
}

}  // namespace

CommandSession::CommandSession(RunTime& runTime, unsigned threads, const GeneratorState& start)
    : runTime_(runTime), session_(runTime, threads, start) {}

std::optional<SimulateReport> CommandSession::ClickSimuler(EventPump& pump) {
    if (stopped_ || running_ >= kMaxRunningCommands) {
        return std::nullopt;
    }
    ++running_;
    model_.SetRunEnded(false);
    SessionPump session(pump, *this);
    const double outerNested = std::exchange(nestedSeconds_, 0.0);
    const double started = runTime_.MonotonicSeconds();
    SimulateReport report = SimulateCommand(session);
    // The whole of this command is nested time for the one whose event processing it ran in.
    nestedSeconds_ = outerNested + (runTime_.MonotonicSeconds() - started);
    if (report.completed()) {
        model_.SetRunEnded(true);
    }
    --running_;
    return report;
}

void CommandSession::ClickEffacer() {
    if (!stopped_) {
        model_.SetRunEnded(false);
        EmptyOutputs();
    }
}

// Column by column, k = 0 to 6 in each.
void CommandSession::WriteResults(const ResultTexts& texts) {
    for (const ResultColumn column : kResultColumns) {
        for (int k = 0; k < kResultRows; ++k) {
            model_.SetText(ResultAt(column, k), texts[column][static_cast<std::size_t>(k)]);
        }
    }
}

void CommandSession::EmptyOutputs() {
    model_.SetText(Is(Role::Estimate), "");
    WriteResults({});
}

// The messages of a refused input, hidden as a command starts and again once its speed test is
// over (a command nested in the test may have shown one).
void CommandSession::HideRefusals() {
    model_.SetShown(Shows(Message::ValidGrille), false);
    model_.SetShown(Shows(Message::ValidNbTirages), false);
}

bool CommandSession::Draw(const Numbers& grid, EventPump& pump, SimulateReport& report) {
    GameReport drawn;
    session_.DrawRequested(
        {.requested = report.requested, .rule = SixOfFortyNineRule(NumberMask(grid))}, drawn, pump);
    std::copy(drawn.tally.begin(), drawn.tally.end(), report.tally.begin());  // tiers 0 to 6
    report.drawsDone = drawn.drawsDone;
    report.drawSeconds = drawn.drawSeconds;
    return !drawn.stopped;
}

// The speed test draws against the grid 1 to 6, nothing of it reaching the results.
bool CommandSession::SpeedTest(EventPump& pump, SimulateReport& report) {
    model_.SetShown(Shows(Message::Test), true);
    const GameRequest test{.requested = report.requested,
                           .rule = SixOfFortyNineRule(kTestGridMask)};
    const double nestedBefore = nestedSeconds_;
    std::optional<GameSession::SpeedTested> tested = session_.TimeSpeedTest(test, pump);
    if (!tested) {
        return false;
    }
    tested->seconds -= nestedSeconds_ - nestedBefore;
    GameReport timed;
    session_.Estimate(test, *tested, timed);
    if (timed.estimate) {
        report.estimate = timed.estimate;
        report.estimateText = std::move(timed.estimateText);
        model_.SetText(Is(Role::Estimate), report.estimateText);
    }
    return true;
}

// Ends a command whose grid cannot be drawn against: the estimate goes with the wait message and
// the invalid-grid message shows, for a number beyond the range of numbers as for any other.
SimulateReport CommandSession::Refuse(SimulateReport report, Outcome outcome, int input) {
    model_.SetText(Is(Role::Estimate), "");
    model_.SetShown(Shows(Message::Patientez), false);
    model_.SetShown(Shows(Message::ValidGrille), true);
    report.outcome = outcome;
    report.refusedInput = input;
    report.estimate.reset();
    report.estimateText.clear();
    return report;
}

// A command stopped by its pump writes nothing more; its counts so far are in its report alone.
SimulateReport CommandSession::Stopped(SimulateReport report) const {
    report.outcome = Outcome::Stopped;
    report.texts = ShownTexts(report, runTime_.DecimalSeparator());
    return report;
}

SimulateReport CommandSession::SimulateCommand(EventPump& pump) {
    HideRefusals();
    EmptyOutputs();
    const std::optional<double> requested = TextToNumber(model_.Text(Is(Role::DrawCount)));
    if (!requested) {
        // No count to time or draw: the command says why and ends.
        model_.SetShown(Shows(Message::ValidNbTirages), true);
        return {.outcome = Outcome::Unreadable, .refusedInput = 0};
    }
    SimulateReport report{.requested = *requested};
    if (!SpeedTest(pump, report)) {
        return Stopped(std::move(report));
    }
    model_.SetShown(Shows(Message::Test), false);
    model_.SetShown(Shows(Message::Patientez), true);
    HideRefusals();

    const EnteredFavourites favourites = ReadFavourites(model_);
    if (favourites.unreadable != 0) {
        return Refuse(report, Outcome::Unreadable, favourites.unreadable);
    }
    const std::optional<Numbers> grid = GridCheck(favourites.values);
    if (!grid) {
        return Refuse(report, Outcome::InvalidGrid, OffendingFavourite(favourites.values));
    }

    if (!Draw(*grid, pump, report)) {
        return Stopped(std::move(report));
    }
    report.expected = ComputeExpectedCounts(*requested);
    report.deviations = ComputeDeviations(report.expected, report.tally);
    report.texts = ShownTexts(report, runTime_.DecimalSeparator());
    WriteResults(report.texts);
    model_.SetShown(Shows(Message::Patientez), false);
    return report;
}

}  // namespace loto
