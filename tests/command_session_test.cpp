// The commands as a form's buttons run them, the same for every view: nested runs up to a bound,
// the end of a run announced, and a stop after which nothing more is taken.
#include "form/command_session.h"

#include <gtest/gtest.h>

#include "platform/fixed_run_time.h"
#include "tests/support/recording_form.h"

namespace loto {
namespace {

using std::chrono::local_days;
using std::chrono::year;
using test::RecordingForm;

const std::array<std::string, kFavouriteCount> kOneToSix = {"1", "2", "3", "4", "5", "6"};

class CommandSessionTest : public ::testing::Test {
protected:
    FixedRunTime runTime{local_days{year{2026} / 12 / 6}, 2.0};
    CommandSession session{runTime, 1};
    RecordingForm form{session.model()};
};

// The end of a run is heard once its results are written, and taken back as the next command
// starts or "EFFACER" empties them; a refused grid has no results to announce.
TEST_F(CommandSessionTest, AnnouncesTheEndOfARun) {
    form.Enter("100", kOneToSix);
    ASSERT_TRUE(session.ClickSimuler(form));
    EXPECT_EQ(form.log.front(), "-LblFinTirages");
    EXPECT_EQ(form.log.back(), "+LblFinTirages");
    session.ClickEffacer();
    EXPECT_FALSE(form.model.runEnded());
    EXPECT_TRUE(form.ResultsEmpty());
    form.model.Typed(FavouriteAt(6), "1");  // repeats the first
    EXPECT_EQ(session.ClickSimuler(form)->outcome, Outcome::InvalidGrid);
    EXPECT_FALSE(form.model.runEnded());
}

// Clicks on "SIMULER" during runs nest commands up to the bound; one more does nothing.
TEST_F(CommandSessionTest, NestsCommandsUpToABound) {
    form.Enter("1000000", kOneToSix);
    int deepest = 0;
    bool refused = false;
    // Each command's first event processing clicks again, until a click is refused.
    form.onEvents = [&](const DrawProgress&) {
        deepest = std::max(deepest, session.running());
        if (!refused) {
            const bool room = session.running() < CommandSession::kMaxRunningCommands;
            const bool ran = session.ClickSimuler(form).has_value();
            EXPECT_EQ(ran, room);
            refused = refused || !ran;  // a nested command may have been refused meanwhile
        }
        return true;
    };
    form.model.Typed(Is(Role::DrawCount), "0");
    ASSERT_TRUE(session.ClickSimuler(form));
    EXPECT_EQ(deepest, CommandSession::kMaxRunningCommands);
    EXPECT_TRUE(refused);
    EXPECT_EQ(session.running(), 0);
}

// "QUITTER" during a run, or a pump that says the run may not go on: every running command stops
// at its next event processing, writes nothing more, and the session takes nothing further.
TEST_F(CommandSessionTest, AStopEndsEveryCommand) {
    for (const bool byPump : {false, true}) {
        CommandSession stopping(runTime, 1);
        RecordingForm outer(stopping.model());
        outer.Enter("1000000", kOneToSix);
        int depth = 0;
        outer.onEvents = [&](const DrawProgress&) {
            if (stopping.running() == 1 && depth++ == 0) {
                EXPECT_EQ(stopping.ClickSimuler(outer)->outcome, Outcome::Stopped);
            } else if (stopping.running() == 2) {
                if (byPump) {
                    return false;
                }
                stopping.Quit();
            }
            return true;
        };
        EXPECT_EQ(stopping.ClickSimuler(outer)->outcome, Outcome::Stopped) << byPump;
        EXPECT_TRUE(stopping.stopped()) << byPump;
        EXPECT_TRUE(outer.ResultsEmpty() && outer.Estimate().empty()) << byPump;
        outer.model.Typed(Is(Role::Estimate), "typed");
        stopping.ClickEffacer();
        EXPECT_EQ(outer.Estimate(), "typed") << byPump;
        EXPECT_FALSE(stopping.ClickSimuler(outer)) << byPump;
    }
}

}  // namespace
}  // namespace loto
