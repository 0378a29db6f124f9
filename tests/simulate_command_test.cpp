// "SIMULER" step by step, as the form shows it: texts, messages, estimates, refusals and stops.
#include <gtest/gtest.h>

#include <numeric>
#include <tuple>
#include <utility>

#include "form/command_session.h"
#include "platform/fixed_run_time.h"
#include "tests/support/recording_form.h"

namespace loto {
namespace {

using std::chrono::local_days;
using std::chrono::seconds;
using std::chrono::year;
using test::RecordingForm;

const LocalDateTime kToday = local_days{year{2026} / 12 / 6} + seconds{19 * 3600};
using Texts = PerRow<std::string>;
const std::array<std::string, 6> kOneToSix = {"1", "2", "3", "4", "5", "6"};

std::uint64_t Sum(const Tally& tally) {
    return std::accumulate(tally.begin(), tally.end(), std::uint64_t{0});
}

class SimulateCommandTest : public ::testing::Test {
protected:
    // A click on "SIMULER" on what the form holds.
    SimulateReport Simulate() { return *session.ClickSimuler(form); }

    FixedRunTime runTime{kToday, 2.0};  // every test measures 2 s
    CommandSession session{runTime, 1};
    RecordingForm form{session.model()};
};

// From a fresh start, the design's tallies and texts, the messages in order, the estimate; a
// second click continues the sequence.
TEST_F(SimulateCommandTest, FreshStartTalliesAndTexts) {
    form.Enter("100", kOneToSix);
    const SimulateReport first = Simulate();
    EXPECT_EQ(first.outcome, Outcome::Completed);
    EXPECT_EQ(form.Column(ResultColumn::Stat), (Texts{"43", "47", "9", "1", "0", "0", "0"}));
    EXPECT_EQ(form.Column(ResultColumn::Theo)[6], "0,00000715");
    EXPECT_EQ(form.Column(ResultColumn::Ecart)[1], "13,79609");
    EXPECT_DOUBLE_EQ(first.deviations[1], 13.796094358790207);
    // 2 s for 100,000 test draws, then 100,100 draws counted: 2 s.
    EXPECT_EQ(form.Estimate(), "06/12/2026 19:00:02");
    EXPECT_EQ(first.drawSeconds, 2);
    // The report holds what the form shows, texts and all.
    EXPECT_EQ(first.estimateText, form.Estimate());
    for (const ResultColumn column : kResultColumns) {
        EXPECT_EQ(first.texts[column], form.Column(column));
    }
    EXPECT_EQ(form.log,
              (std::vector<std::string>{"-LblFinTirages", "-LblValidGrille", "-LblValidNbTirages",
                                        "+LblTest", "-LblTest", "+LblPatientez", "-LblValidGrille",
                                        "-LblValidNbTirages", "-LblPatientez", "+LblFinTirages"}));
    const SimulateReport second = Simulate();
    EXPECT_EQ(form.Column(ResultColumn::Stat), (Texts{"44", "41", "14", "1", "0", "0", "0"}));
    EXPECT_EQ(form.Estimate(), "06/12/2026 19:00:02");  // the clock's differences, not its readings
    EXPECT_EQ(second.drawSeconds, 2);
}

// A refused grid, or one with a number beyond the range of numbers: the estimate goes with the
// wait message, the invalid-grid message stays, even after "EFFACER".
TEST_F(SimulateCommandTest, RefusedGrids) {
    const std::pair<std::array<std::string, 6>, Outcome> refused[] = {
        {{"7", "8", "9", "10", "11", "7"}, Outcome::InvalidGrid},
        {{"1", "2", "3", "-1e400", "5", "6"}, Outcome::Unreadable},
    };
    for (const auto& [favourites, outcome] : refused) {
        form.Enter("100", favourites);
        const SimulateReport report = Simulate();
        EXPECT_EQ(std::pair(report.outcome, report.refusedInput),
                  std::pair(outcome, outcome == Outcome::Unreadable ? 4 : 6));
        EXPECT_TRUE(form.Estimate().empty() && form.ResultsEmpty());
        EXPECT_EQ(form.log.back(), "+LblValidGrille");
        EXPECT_FALSE(form.Shown(Message::Patientez) || form.Shown(Message::Test));
        form.model.Typed(Is(Role::Estimate), "typed");
        session.ClickEffacer();
        EXPECT_EQ(form.Estimate(), "");
        EXPECT_TRUE(form.Shown(Message::ValidGrille));
    }
    // An unreadable count ends the command before anything is drawn, not even the test, and says
    // so; the boxes that the previous command filled are emptied all the same. "EFFACER" leaves
    // the message, the next command takes it away.
    form.Enter("1E999", kOneToSix);
    form.model.Typed(Is(Role::Estimate), "old");
    for (const ResultColumn column : kResultColumns) {
        for (int k = 0; k < kResultRows; ++k) {
            form.model.Typed(ResultAt(column, k), "old");
        }
    }
    form.log.clear();
    EXPECT_EQ(Simulate().outcome, Outcome::Unreadable);
    EXPECT_EQ(form.log, (std::vector<std::string>{"-LblFinTirages", "-LblValidGrille",
                                                  "-LblValidNbTirages", "+LblValidNbTirages"}));
    EXPECT_EQ(form.Estimate(), "");
    EXPECT_TRUE(form.ResultsEmpty());
    session.ClickEffacer();
    EXPECT_TRUE(form.Shown(Message::ValidNbTirages));
    form.model.Typed(Is(Role::DrawCount), "10");
    EXPECT_EQ(Simulate().outcome, Outcome::Completed);
    EXPECT_FALSE(form.Shown(Message::ValidNbTirages));
}

// The range of dates is that of local dates: an estimate past 31/12/9999 in the user's time zone
// leaves its box empty, one before it shows, whatever universal time says.
TEST_F(SimulateCommandTest, EstimatesWithinTheRangeOfLocalDates) {
    using std::chrono::hours;
    const LocalDateTime lastDay = local_days{year{9999} / 12 / 31};
    const std::tuple<LocalDateTime, hours, std::string> cases[] = {
        // now (local), zone, estimate
        // 2 s per 100,000 test draws and 400,000 draws asked for: 10 s.
        {lastDay + seconds{86389}, hours{9}, "31/12/9999 23:59:59"},
        {lastDay + seconds{86390}, hours{9}, ""},  // Tokyo: 10000 here, 9999 in universal time
        {lastDay + seconds{86380}, hours{-5}, "31/12/9999 23:59:50"},  // New York: the reverse
        {lastDay + hours{29}, hours{14}, ""},  // Kiritimati: the clock reads 10000 already
    };
    for (const auto& [now, zone, estimate] : cases) {
        FixedRunTime zoned(now, 2.0, zone);
        CommandSession inZone(zoned, 1);
        RecordingForm zonedForm(inZone.model());
        zonedForm.Enter("400000", kOneToSix);
        const SimulateReport report = *inZone.ClickSimuler(zonedForm);
        EXPECT_EQ(std::tuple(zonedForm.Estimate(), report.estimateText, report.estimate.has_value(),
                             report.outcome),
                  std::tuple(estimate, estimate, !estimate.empty(), Outcome::Completed))
            << zone.count();
    }
}

TEST_F(SimulateCommandTest, NoDrawsRequested) {
    for (const char* text : {"0", ""}) {
        form.Enter(text, kOneToSix);
        EXPECT_EQ(Simulate().drawsDone, 0u) << text;
        EXPECT_EQ(form.Column(ResultColumn::Stat), (Texts{"0", "0", "0", "0", "0", "0", "0"}));
        // Nothing expected: no deviation can be formed and the boxes stay empty.
        EXPECT_EQ(form.Column(ResultColumn::Theo)[0], "0,");
        EXPECT_EQ(form.Column(ResultColumn::Ecart), Texts{});
        EXPECT_FALSE(form.Shown(Message::Patientez));
        EXPECT_NE(form.Estimate(), "");
    }
    // Half a draw: none done, but the expected counts use 0.5.
    form.Enter("0.5", kOneToSix);
    EXPECT_EQ(Simulate().drawsDone, 0u);
    EXPECT_EQ(form.Column(ResultColumn::Theo)[0], "0,2179825");
    EXPECT_EQ(form.Column(ResultColumn::Ecart)[0], "-100,");
    // A negative count: negative expectations and, with no draw, deviations of -100.
    form.Enter("-3", kOneToSix);
    Simulate();
    EXPECT_EQ(form.Column(ResultColumn::Ecart)[0], "-100,");
    EXPECT_EQ(form.Column(ResultColumn::Theo)[6], "-0,00000021");
}

// A second click during the speed test runs a whole command there, which the test leaves out of
// its time: the estimate counts the outer test's own two clock steps, not the nested command's.
TEST_F(SimulateCommandTest, TheSpeedTestLeavesNestedCommandsOut) {
    form.Enter("100", kOneToSix);
    std::optional<SimulateReport> nested;
    bool clicked = false;
    form.onEvents = [&](const DrawProgress&) {
        if (form.Shown(Message::Test) && !std::exchange(clicked, true)) {
            nested = Simulate();
        }
        return true;
    };
    EXPECT_EQ(Simulate().estimateText, "06/12/2026 19:00:04");
    EXPECT_EQ(nested->estimateText, "06/12/2026 19:00:02");
}

// A stopped command writes nothing more and reports the draws done so far.
TEST_F(SimulateCommandTest, AStoppedCommandWritesNothingMore) {
    for (const Message during : {Message::Test, Message::Patientez}) {
        CommandSession stopping(runTime, 1);
        RecordingForm stopped(stopping.model());
        stopped.Enter("1000000", kOneToSix);
        int visits = 0;  // during the phase
        stopped.onEvents = [&](const DrawProgress&) {
            return !(stopped.Shown(during) && ++visits == 2);
        };
        const SimulateReport report = *stopping.ClickSimuler(stopped);
        EXPECT_EQ(report.outcome, Outcome::Stopped);
        EXPECT_TRUE(stopped.ResultsEmpty());
        EXPECT_EQ(Sum(report.tally), report.drawsDone);
        EXPECT_EQ(report.drawsDone > 0, during == Message::Patientez);
        // Its counts so far, in the form's forms, are in the report alone.
        EXPECT_EQ(report.texts[ResultColumn::Stat][0], std::to_string(report.tally[0]));
        EXPECT_EQ(report.texts[ResultColumn::Theo], Texts{});
    }
}

}  // namespace
}  // namespace loto
