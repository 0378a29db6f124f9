#include "core/draws.h"

#include <gtest/gtest.h>

#include <random>

#include "core/speed_test.h"

namespace loto {
namespace {

// A pump that counts its visits and can ask the run to stop.
class CountingPump final : public EventPump {
public:
    explicit CountingPump(int stopAtVisit = -1) : stopAtVisit_(stopAtVisit) {}
    bool ProcessEvents(const DrawProgress& progress) override {
        last = progress;
        return ++visits != stopAtVisit_;
    }
    int visits = 0;
    DrawProgress last;

private:
    int stopAtVisit_;
};

// No candidate is rejected before the 19th value after seeding.
TEST(DrawNumbers, FirstDrawsAfterSeeding) {
    GeneratorState state = kSeedState;
    EXPECT_EQ(DrawNumbers(state), (Numbers{10, 7, 18, 15, 36, 14}));
    EXPECT_EQ(DrawNumbers(state), (Numbers{26, 30, 37, 33, 22, 29}));
    EXPECT_EQ(DrawNumbers(state), (Numbers{47, 43, 14, 28, 48, 7}));
}

TEST(CountMatches, CountsEachDrawnNumberOnce) {
    const Numbers first{10, 7, 18, 15, 36, 14};
    EXPECT_EQ(CountMatches(first, {1, 2, 3, 4, 5, 6}), 0);
    EXPECT_EQ(CountMatches(first, {7, 10, 14, 20, 30, 40}), 3);
    EXPECT_EQ(CountMatches(first, {7, 7, 7, 7, 7, 7}), 1);
    EXPECT_EQ(CountMatches(first, first), 6);
}

// The bit-set draw of the loop against the plain draw and count, on random states.
TEST(DrawMatches, AgreesWithDrawNumbersAndCountMatches) {
    std::mt19937_64 random(11);
    const Numbers grid{3, 9, 17, 28, 41, 49};
    for (int i = 0; i < 100000; ++i) {
        const GeneratorState start{static_cast<std::int64_t>(random() >> 16),
                                   static_cast<std::int64_t>(random() % 32353) * 10000};
        GeneratorState plain = start;
        GeneratorState masked = start;
        const Numbers drawn = DrawNumbers(plain);
        ASSERT_EQ(DrawMatches(masked, NumberMask(grid)), CountMatches(drawn, grid));
        ASSERT_EQ(plain, masked);
    }
}

TEST(DrawCount, CountsTheWholeNumbersFromOneToN) {
    const std::pair<double, std::uint64_t> counts[] = {
        {0, 0},
        {0.5, 0},
        {-3, 0},
        {-1e300, 0},
        {1, 1},
        {3.7, 3},
        {10.6, 10},
        {9007199254740993.0, 9007199254740992},
        {1e300, UINT64_MAX},
    };
    for (const auto& [requested, draws] : counts) {
        EXPECT_EQ(DrawCount(requested), draws) << requested;
    }
}

TEST(RunDraws, VisitsThePumpAndStopsWhenAsked) {
    const std::uint64_t count = 10 * EventPumpHook::kDrawsPerVisit;
    GeneratorState state = kSeedState;
    Tally tally{};
    CountingPump pump;
    EventPumpHook hook(pump);
    EXPECT_EQ(RunDraws(state, count, NumberMask({1, 2, 3, 4, 5, 6}), tally, hook).done, count);
    EXPECT_EQ(pump.visits, 10);
    EXPECT_EQ(pump.last.total, count);
    std::uint64_t sum = 0;
    for (const std::uint64_t t : tally) {
        sum += t;
    }
    EXPECT_EQ(sum, count);

    GeneratorState stopped = kSeedState;
    Tally partial{};
    CountingPump stopper(3);
    EventPumpHook stopHook(stopper);
    const DrawRun run = RunDraws(stopped, count, NumberMask({1, 2, 3, 4, 5, 6}), partial, stopHook);
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.done, 2 * EventPumpHook::kDrawsPerVisit);
}

// A command run inside the pump draws from the same state, and the interrupted run continues
// where the nested one left the generator.
TEST(RunDraws, SharesTheStateWithCommandsRunInsideThePump) {
    class NestingPump final : public EventPump {
    public:
        explicit NestingPump(GeneratorState& state) : state_(state) {}
        bool ProcessEvents(const DrawProgress& progress) override {
            if (progress.done == 0) {
                (void)DrawNumbers(state_);  // a nested command consumes values in between
            }
            return true;
        }

    private:
        GeneratorState& state_;
    };
    GeneratorState state = kSeedState;
    Tally tally{};
    NestingPump pump(state);
    EventPumpHook hook(pump);
    (void)RunDraws(state, 1, NumberMask({26, 30, 37, 33, 22, 29}), tally, hook);
    EXPECT_EQ(tally[6], 1u);  // the interrupted run drew the second combination
}

}  // namespace
}  // namespace loto
