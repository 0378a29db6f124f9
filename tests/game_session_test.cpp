// A command of a game watched for its tiers' first draws and stopped at a tier: on every thread
// and lane, exactly what one draw after another gives.
#include "core/game_session.h"

#include <gtest/gtest.h>

#include "platform/fixed_run_time.h"
#include "tests/support/example_games.h"
#include "tests/support/serial_watch.h"

namespace loto {
namespace {

class IdlePump final : public EventPump {
public:
    bool ProcessEvents(const DrawProgress&) override { return true; }
};

// Over many slices and chunks.
TEST(GameSession, FirstHitsAndUntilAsOneDrawAfterAnother) {
    constexpr std::uint64_t kDraws = 4'500'000;
    const DrawRule rules[] = {test::Ticket(kSixOfFortyNine, {7, 10, 14, 20, 30, 40}),
                              test::ExampleRules()[3]};  // 5/50+2/12
    for (const DrawRule& rule : rules) {
        // Rare tiers: one reached within the draws, one reached late or never.
        const std::vector<std::vector<int>> untils = {
            {}, {rule.TierIndex(4, 0, 0)}, {rule.TierIndex(5, 0, 0)}};
        for (const std::vector<int>& until : untils) {
            const test::SerialWatch serial = test::DrawSerially(rule, kDraws, until);
            for (const unsigned threads : {1u, 2u}) {
                FixedRunTime runTime(LocalDateTime{}, 0.001);
                GameSession session(runTime, threads);
                IdlePump pump;
                const GameReport report = session.Simulate({.requested = kDraws,
                                                            .rule = rule,
                                                            .speedTest = false,
                                                            .firstHits = true,
                                                            .until = until},
                                                           pump);
                EXPECT_EQ(report.tally, serial.tally) << GameName(rule.game);
                EXPECT_EQ(report.firstHit, serial.firstHit) << GameName(rule.game);
                EXPECT_EQ(report.drawsDone, serial.done);
                EXPECT_EQ(session.state(), serial.state);
                const bool hit = !until.empty() && serial.done < kDraws;
                EXPECT_EQ(report.untilHit, hit ? std::optional(serial.done) : std::nullopt);
            }
        }
    }
}

// Asks to stop at its `at`-th visit.
class StopAt final : public EventPump {
public:
    explicit StopAt(int at) : at_(at) {}
    bool ProcessEvents(const DrawProgress&) override { return ++visits_ < at_; }

private:
    int at_;
    int visits_ = 0;
};

// A watched command stopped between two slices has the tally, the first draws and the generator
// of the draws it did.
TEST(GameSession, AStopEndsAWatchedCommandWithWhatItDrew) {
    constexpr std::uint64_t kDraws = 50'000'000;
    const DrawRule rule = test::Ticket(kSixOfFortyNine, {7, 10, 14, 20, 30, 40});
    for (const int at : {1, 2, 3}) {
        FixedRunTime runTime(LocalDateTime{}, 0.001);
        GameSession session(runTime, 2);
        StopAt pump(at);
        const GameReport report = session.Simulate(
            {.requested = kDraws, .rule = rule, .speedTest = false, .firstHits = true}, pump);
        EXPECT_TRUE(report.stopped);
        EXPECT_LT(report.drawsDone, kDraws) << at;
        const test::SerialWatch serial = test::DrawSerially(rule, report.drawsDone, {});
        EXPECT_EQ(report.tally, serial.tally) << at;
        EXPECT_EQ(report.firstHit, serial.firstHit) << at;
        EXPECT_EQ(session.state(), serial.state) << at;
    }
}

// What a running command shows at each turn of its pump, as the page's panel reads it: its speed
// test, then the estimate that the test gave.
class Watching final : public EventPump {
public:
    const GameSession* session = nullptr;
    std::vector<std::pair<bool, std::string>> seen;

    bool ProcessEvents(const DrawProgress&) override {
        seen.emplace_back(session->inSpeedTest(), session->estimateText());
        return true;
    }
};

TEST(GameSession, ShowsItsSpeedTestThenItsEstimate) {
    FixedRunTime runTime(LocalDateTime{}, 0.001);
    GameSession session(runTime, 1);
    EXPECT_FALSE(session.inSpeedTest());  // before any command
    Watching pump;
    pump.session = &session;
    const GameReport report = session.Simulate(
        {.requested = 20'000'000, .rule = test::Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6})}, pump);
    ASSERT_FALSE(report.estimateText.empty());
    ASSERT_GE(pump.seen.size(), 2U);
    EXPECT_EQ(pump.seen.front(), std::pair(true, std::string()));
    EXPECT_EQ(pump.seen.back(), std::pair(false, report.estimateText));
    EXPECT_FALSE(session.inSpeedTest());
}

}  // namespace
}  // namespace loto
