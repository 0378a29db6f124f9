#include "core/commands.h"

#include <gtest/gtest.h>

#include <numeric>

#include "core/draws.h"
#include "tests/recording_window.h"

namespace loto {
namespace {

using std::chrono::local_days;
using std::chrono::seconds;
using std::chrono::year;
using test::FakeRunTime;
using test::RecordingWindow;

const LocalDateTime kToday = local_days{year{2026} / 12 / 6} + seconds{19 * 3600};
using Texts = std::array<std::string, 7>;

class SimulateCommandTest : public ::testing::Test {
protected:
    SimulateCommandTest() { commands.WindowLoad(); }

    FakeRunTime runTime{kToday, 2.0};   // every test measures 2 s
    LotoCommands commands{runTime, 1};  // one thread: the pump is visited every 1024 draws
};

TEST_F(SimulateCommandTest, FreshStartTalliesAndTexts) {
    RecordingWindow window("100", {"1", "2", "3", "4", "5", "6"});
    const SimulateReport first = commands.SimulateCommand(window);
    EXPECT_EQ(first.outcome, Outcome::Completed);
    EXPECT_EQ(first.drawsDone, 100u);
    EXPECT_EQ(window.Column(ResultColumn::Stat), (Texts{"43", "47", "9", "1", "0", "0", "0"}));
    EXPECT_EQ(window.Column(ResultColumn::Theo), (Texts{"43,5965", "41,30194", "13,2378", "1,76504",
                                                        "0,09686197", "0,00184499", "0,00000715"}));
    EXPECT_EQ(window.Column(ResultColumn::Ecart),
              (Texts{"-1,36822", "13,79609", "-32,01289", "-43,34407", "-100,", "-100,", "-100,"}));
    // 2 s for 100,000 test draws, then 100,100 draws counted: 2 s.
    EXPECT_EQ(window.estimate, "06/12/2026 19:00:02");
    EXPECT_EQ(window.log, (std::vector<std::string>{"-ValidGrille", "+Test", "-Test", "+Patientez",
                                                    "-ValidGrille", "-Patientez"}));

    // A second identical click continues the sequence.
    commands.SimulateCommand(window);
    EXPECT_EQ(window.Column(ResultColumn::Stat), (Texts{"44", "41", "14", "1", "0", "0", "0"}));

    // A fresh start repeats it from the beginning.
    LotoCommands restarted(runTime, 0);
    restarted.WindowLoad();
    RecordingWindow other("1000", {"7", "10", "14", "20", "30", "40"});
    restarted.SimulateCommand(other);
    EXPECT_EQ(other.Column(ResultColumn::Stat), (Texts{"399", "444", "135", "22", "0", "0", "0"}));
}

TEST_F(SimulateCommandTest, TheSpeedTestComesFirstAndUsesTheGridOneToSix) {
    RecordingWindow window("10", {"7", "8", "9", "10", "11", "7"});
    EXPECT_EQ(commands.SimulateCommand(window).outcome, Outcome::InvalidGrid);
    GeneratorState expected = kSeedState;
    for (int i = 0; i < 100000; ++i) {
        (void)DrawNumbers(expected);
    }
    EXPECT_EQ(commands.state(), expected);
}

TEST_F(SimulateCommandTest, RefusedGrids) {
    const std::array<std::string, 6> refused[] = {
        {"7", "8", "9", "10", "11", "7"},    {"0", "2", "3", "4", "5", "6"},
        {"", "2", "3", "4", "5", "6"},       {"abc", "2", "3", "4", "5", "6"},
        {"7.6", "8", "9", "10", "11", "12"},  // the rounded numbers repeat
        {"1", "2", "3", "4", "5", "50"},
    };
    for (const auto& favourites : refused) {
        RecordingWindow window("100", favourites);
        window.estimate = "old";
        EXPECT_EQ(commands.SimulateCommand(window).outcome, Outcome::InvalidGrid);
        EXPECT_EQ(window.estimate, "");
        EXPECT_TRUE(window.ResultsEmpty());
        EXPECT_TRUE(window.Shown(Message::ValidGrille));
        EXPECT_FALSE(window.Shown(Message::Patientez));
        EXPECT_FALSE(window.Shown(Message::Test));
        // The estimate was shown after the test and removed with the wait message.
        EXPECT_EQ(window.log.back(), "+ValidGrille");
        // "EFFACER" afterwards empties the boxes and leaves the message.
        window.estimate = "typed";
        LotoCommands::ClearCommand(window);
        EXPECT_EQ(window.estimate, "");
        EXPECT_TRUE(window.Shown(Message::ValidGrille));
    }
}

TEST_F(SimulateCommandTest, NoDrawsRequested) {
    for (const char* text : {"0", "", "0.5", "-3"}) {
        RecordingWindow window(text, {"1", "2", "3", "4", "5", "6"});
        const SimulateReport report = commands.SimulateCommand(window);
        EXPECT_EQ(report.outcome, Outcome::Completed) << text;
        EXPECT_EQ(report.drawsDone, 0u);
        EXPECT_EQ(window.Column(ResultColumn::Stat), (Texts{"0", "0", "0", "0", "0", "0", "0"}));
        EXPECT_FALSE(window.Shown(Message::Patientez));
        EXPECT_NE(window.estimate, "");
    }
    // Nothing expected: no deviation can be formed and the boxes stay empty.
    RecordingWindow zero("0", {"1", "2", "3", "4", "5", "6"});
    commands.SimulateCommand(zero);
    EXPECT_EQ(zero.Column(ResultColumn::Theo), (Texts{"0,", "0,", "0,", "0,", "0,", "0,", "0,"}));
    EXPECT_EQ(zero.Column(ResultColumn::Ecart), Texts{});
    // A negative count: negative expectations and, with no draw, deviations of -100.
    RecordingWindow negative("-3", {"1", "2", "3", "4", "5", "6"});
    commands.SimulateCommand(negative);
    EXPECT_EQ(negative.Result(ResultColumn::Ecart, 0), "-100,");
    EXPECT_EQ(negative.Result(ResultColumn::Theo, 6), "-0,00000021");
}

TEST_F(SimulateCommandTest, UnreadableNumbersEndTheCommand) {
    RecordingWindow count("1E999", {"1", "2", "3", "4", "5", "6"});
    count.estimate = "old";
    const SimulateReport report = commands.SimulateCommand(count);
    EXPECT_EQ(report.outcome, Outcome::Unreadable);
    EXPECT_EQ(report.unreadableInput, 0);
    EXPECT_EQ(count.estimate, "");
    EXPECT_EQ(commands.state(), kSeedState);  // nothing drawn, not even the test
    EXPECT_EQ(count.log, std::vector<std::string>{"-ValidGrille"});

    RecordingWindow favourite("100", {"1", "2", "3", "-1e400", "5", "6"});
    const SimulateReport late = commands.SimulateCommand(favourite);
    EXPECT_EQ(late.outcome, Outcome::Unreadable);
    EXPECT_EQ(late.unreadableInput, 4);
    EXPECT_EQ(late.drawsDone, 0u);
    EXPECT_EQ(favourite.estimate, "");
    EXPECT_TRUE(favourite.ResultsEmpty());
    EXPECT_FALSE(favourite.Shown(Message::Patientez));
    EXPECT_TRUE(favourite.Shown(Message::ValidGrille));  // not a grid that can be drawn
}

TEST(SimulateCommand, AnEstimateBeyondTheLastDateLeavesTheBoxEmpty) {
    FakeRunTime runTime(local_days{year{9999} / 12 / 31} + seconds{86399});
    LotoCommands commands(runTime, 0);
    commands.WindowLoad();
    RecordingWindow window("1000", {"7", "10", "14", "20", "30", "40"});
    EXPECT_EQ(commands.SimulateCommand(window).outcome, Outcome::Completed);
    EXPECT_EQ(window.estimate, "");
    EXPECT_EQ(window.Result(ResultColumn::Stat, 0), "399");
}

// Clicks inside the event processing: what the interrupted command shows afterwards follows from
// its own remaining steps.
TEST_F(SimulateCommandTest, NestedCommandsShareTheGenerator) {
    RecordingWindow window("50000", {"1", "2", "3", "4", "5", "6"});
    int visits = 0;
    SimulateReport nested;
    // The 110th visit falls in the real draws: 100,000 test draws take 98 visits.
    window.onEvents = [&](const DrawProgress&) {
        if (++visits == 110) {
            window.favouriteTexts[5] = "1";  // the nested command's grid is refused
            nested = commands.SimulateCommand(window);
            window.favouriteTexts[5] = "6";
        }
        return true;
    };
    const SimulateReport outer = commands.SimulateCommand(window);
    EXPECT_EQ(nested.outcome, Outcome::InvalidGrid);
    EXPECT_EQ(outer.outcome, Outcome::Completed);
    EXPECT_EQ(outer.drawsDone, 50000u);
    EXPECT_EQ(window.estimate, "");                   // removed by the refused nested command
    EXPECT_TRUE(window.Shown(Message::ValidGrille));  // and its message stays
    EXPECT_FALSE(window.Shown(Message::Patientez));
    std::uint64_t sum = 0;
    for (const std::string& text : window.Column(ResultColumn::Stat)) {
        sum += std::stoull(text);
    }
    EXPECT_EQ(sum, 50000u);
}

// "EFFACER" during the speed test: the estimate is written afterwards, once.
TEST_F(SimulateCommandTest, ClearDuringTheSpeedTest) {
    RecordingWindow window("50000", {"1", "2", "3", "4", "5", "6"});
    window.onEvents = [&](const DrawProgress& progress) {
        if (progress.done == 0) {
            LotoCommands::ClearCommand(window);
        }
        return true;
    };
    commands.SimulateCommand(window);
    EXPECT_NE(window.estimate, "");
    EXPECT_FALSE(window.ResultsEmpty());
}

TEST_F(SimulateCommandTest, AStoppedCommandWritesNothingMore) {
    for (const int stopAt : {5, 105}) {  // in the speed test, in the real draws
        RecordingWindow window("50000", {"1", "2", "3", "4", "5", "6"});
        int visits = 0;
        window.onEvents = [&](const DrawProgress&) { return ++visits < stopAt; };
        EXPECT_EQ(commands.SimulateCommand(window).outcome, Outcome::Stopped);
        EXPECT_TRUE(window.ResultsEmpty());
        EXPECT_EQ(visits, stopAt);
    }
}

}  // namespace
}  // namespace loto
