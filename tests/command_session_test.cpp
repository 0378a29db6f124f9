// The commands as a window's buttons run them, the same for every front end: nested runs up to a
// bound, the end of a run announced, and a stop after which nothing more is taken.
#include "core/command_session.h"

#include <gtest/gtest.h>

#include "platform/fixed_run_time.h"
#include "tests/support/recording_window.h"

namespace loto {
namespace {

using std::chrono::local_days;
using std::chrono::year;
using test::RecordingWindow;

const std::array<std::string, kFavouriteCount> kOneToSix = {"1", "2", "3", "4", "5", "6"};

class CommandSessionTest : public ::testing::Test {
protected:
    FixedRunTime runTime{local_days{year{2026} / 12 / 6}, 2.0};
    CommandSession session{runTime, 1};
};

// The end of a run is heard once its results are written, and taken back as the next command
// starts or "EFFACER" empties them; a refused grid has no results to announce.
TEST_F(CommandSessionTest, AnnouncesTheEndOfARun) {
    RecordingWindow window("100", kOneToSix);
    ASSERT_TRUE(session.Simulate(window, window));
    EXPECT_EQ(window.log.front(), "-LblFinTirages");
    EXPECT_EQ(window.log.back(), "+LblFinTirages");
    session.Clear(window);
    EXPECT_FALSE(window.runEnded);
    EXPECT_TRUE(window.ResultsEmpty());
    window.favouriteTexts[5] = std::string(1, '1');  // repeats the first
    EXPECT_EQ(session.Simulate(window, window)->outcome, Outcome::InvalidGrid);
    EXPECT_FALSE(window.runEnded);
}

// Clicks on "SIMULER" during runs nest commands up to the bound; one more does nothing.
TEST_F(CommandSessionTest, NestsCommandsUpToABound) {
    RecordingWindow window("1000000", kOneToSix);
    int deepest = 0;
    bool refused = false;
    // Each command's first event processing clicks again, until a click is refused.
    window.onEvents = [&](const DrawProgress&) {
        deepest = std::max(deepest, session.running());
        if (!refused) {
            const bool room = session.running() < CommandSession::kMaxRunningCommands;
            const bool ran = session.Simulate(window, window).has_value();
            EXPECT_EQ(ran, room);
            refused = refused || !ran;  // a nested command may have been refused meanwhile
        }
        return true;
    };
    window.drawCountText = std::string(1, '0');
    ASSERT_TRUE(session.Simulate(window, window));
    EXPECT_EQ(deepest, CommandSession::kMaxRunningCommands);
    EXPECT_TRUE(refused);
    EXPECT_EQ(session.running(), 0);
}

// "QUITTER" during a run, or a pump that says the run may not go on: every running command stops
// at its next event processing, writes nothing more, and the session takes nothing further.
TEST_F(CommandSessionTest, AStopEndsEveryCommand) {
    for (const bool byPump : {false, true}) {
        CommandSession stopping(runTime, 1);
        RecordingWindow outer("1000000", kOneToSix);
        RecordingWindow nested("1000000", kOneToSix);
        nested.onEvents = [&](const DrawProgress&) {
            if (byPump) {
                return false;
            }
            stopping.Quit();
            return true;
        };
        outer.onEvents = [&](const DrawProgress&) {
            if (stopping.running() == 1) {
                EXPECT_EQ(stopping.Simulate(nested, nested)->outcome, Outcome::Stopped);
            }
            return true;
        };
        EXPECT_EQ(stopping.Simulate(outer, outer)->outcome, Outcome::Stopped) << byPump;
        EXPECT_TRUE(stopping.stopped()) << byPump;
        EXPECT_TRUE(outer.ResultsEmpty() && outer.estimate.empty()) << byPump;
        outer.estimate = "typed";
        stopping.Clear(outer);
        EXPECT_EQ(outer.estimate, "typed") << byPump;
        EXPECT_FALSE(stopping.Simulate(outer, outer)) << byPump;
    }
}

}  // namespace
}  // namespace loto
