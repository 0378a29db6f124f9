#include "core/parallel_engine.h"

#include <gtest/gtest.h>

#include <random>

#include "core/generator_jump.h"
#include "tests/support/example_games.h"
#include "tests/support/lane_path_test.h"

namespace loto {
namespace {

// The tally and final state of `draws` draws, on the engine and one after another: the reference.
std::pair<Tally, GeneratorState> Parallel(ParallelDrawEngine& engine, GeneratorState state,
                                          std::uint64_t draws, std::uint64_t grid) {
    Tally tally{};
    engine.Draw(state, draws, SixOfFortyNineRule(grid), tally);
    return {tally, state};
}

std::pair<Tally, GeneratorState> Sequential(GeneratorState state, std::uint64_t draws,
                                            std::uint64_t grid) {
    Tally tally{};
    DrawInto(state, draws, grid, tally);
    return {tally, state};
}

class ParallelDrawEngineTest : public test::LanePathTest {};

// Same tallies and final state as the sequential loop, whatever the path of lanes, the start, the
// count, the grid, the chunk size and the number of threads. Among the starts: a step value in
// [m, 32353 x 2^48), which draws a 49 first where the state jumped to the same residue draws a 1
// (the first chunk must start from the true state), and X just below 0, as a one-off quotient
// leaves it, from where the next step value may be negative.
TEST_P(ParallelDrawEngineTest, EqualsTheSequentialLoop) {
    std::mt19937_64 random(5);
    const GeneratorState starts[] = {kSeedState,
                                     {(std::int64_t{1} << 48) - 2, 60000},
                                     {-1, 10000},
                                     {-100, 10000},
                                     {-800, 100000},
                                     {static_cast<std::int64_t>(random() >> 16),
                                      static_cast<std::int64_t>(random() % 32353) * 10000}};
    for (const std::uint32_t chunk : {64u, 1000u, 65536u}) {
        const std::uint64_t perChunk = chunk * 10 / 63;  // about the draws of one chunk
        for (const unsigned threads : {1u, 3u}) {
            ParallelDrawEngine engine(threads, chunk, *kernel);
            for (const std::uint64_t draws :
                 {std::uint64_t{0}, std::uint64_t{7}, perChunk - 1, perChunk + 1, 3 * perChunk,
                  20 * perChunk + 3, std::uint64_t{300001}}) {
                for (const GeneratorState& start : starts) {
                    const std::uint64_t grid =
                        NumberMask({3, 9, 17, 28, 41, static_cast<int>(draws % 49) + 1});
                    ASSERT_EQ(Parallel(engine, start, draws, grid), Sequential(start, draws, grid))
                        << "chunk " << chunk << " threads " << threads << " draws " << draws;
                }
            }
        }
    }
}

// What a sink is told: the marked draws, each with the number of the draw (from 0) and its tier,
// and the draws told in all.
class Recorder final : public DrawSink {
public:
    using DrawSink::DrawSink;
    void Pass(std::uint64_t draws) override { told += draws; }
    void Hit(std::uint64_t passed, int tier) override {
        told += passed;
        hits.emplace_back(told++, tier);
    }

    std::vector<std::pair<std::uint64_t, int>> hits;
    std::uint64_t told = 0;
};

// Every draw told in order, its marked draws where they fall, on every thread and chunk size,
// for every game; the tally and state as those of the draws one after another. The tiers marked:
// every third, and the top one, rare; in two calls that go on from each other.
TEST_P(ParallelDrawEngineTest, TellsEveryDrawInOrder) {
    for (const DrawRule& rule : test::EveryTestRule()) {
        std::vector<std::uint8_t> marked(static_cast<std::size_t>(rule.tiers()));
        for (std::size_t tier = 2; tier < marked.size(); tier += 3) {
            marked[tier] = 1;
        }
        marked.back() = 1;
        const auto draws = static_cast<std::uint64_t>(40 * 4096 / ValuesPerDraw(rule.game));
        for (const GeneratorState& start : {kSeedState, *StreamStart(5)}) {
            Recorder serial(marked);
            std::vector<std::uint64_t> tally(marked.size());
            GeneratorState state = start;
            const DrawByDraw loop(rule);
            for (std::uint64_t d = 0; d < draws; ++d) {
                const int tier = loop.Next(state);
                ++tally[static_cast<std::size_t>(tier)];
                serial.Marks(tier) ? serial.Hit(0, tier) : serial.Pass(1);
            }
            ASSERT_FALSE(serial.hits.empty());
            for (const std::uint32_t chunk : {256u, 4096u}) {
                for (const unsigned threads : {1u, 3u}) {
                    ParallelDrawEngine engine(threads, chunk, *kernel);
                    Recorder told(marked);
                    std::vector<std::uint64_t> parallel(marked.size());
                    GeneratorState at = start;
                    engine.DrawTold(at, draws / 3, rule, parallel, told, draws);
                    engine.DrawTold(at, draws - draws / 3, rule, parallel, told);
                    ASSERT_EQ(std::tie(told.hits, told.told, parallel, at),
                              std::tie(serial.hits, serial.told, tally, state))
                        << GameName(rule.game) << " chunk " << chunk << " threads " << threads;
                }
            }
        }
    }
}

// The state before `state`, as a step from a true state makes it: t = 10,000 q ... inverted.
GeneratorState StepBack(const GeneratorState& state) {
    const std::int64_t t = (state.c / 10000) * (std::int64_t{1} << 48) + state.x;
    // 32353 X + 10,000 q = t fixes q modulo 32353; 10,000 x 32298 = 1 modulo 32353.
    const std::int64_t q = static_cast<std::int64_t>((t % 32353) * 32298 % 32353);
    return {(t - 10000 * q) / 32353, 10000 * q};
}

// A chunk whose true start has a step value beyond the modulus: the jumped guess is one modulus
// short, which changes the fields of the state after its first value (the values themselves agree
// from then on), so a run that ends there must have generated the chunk again from the true state.
TEST_P(ParallelDrawEngineTest, RegeneratesAChunkWhoseJumpedStartIsWrong) {
    const std::uint64_t grid = NumberMask({1, 2, 3, 4, 5, 6});
    int checked = 0;
    for (std::int64_t d = 9000; d < 9400 && checked < 3; ++d) {
        // X close to 2^48 with a large carry: the next step value exceeds m.
        const GeneratorState beyond{(std::int64_t{1} << 48) - d, 323520000};
        ASSERT_GE(static_cast<std::uint64_t>(StepValue(beyond)), kJumpModulus);
        // Find a start k values before `beyond` whose first draw ends with value k: a run of one
        // draw then ends right after the first value of the chunk that starts at `beyond`.
        GeneratorState start = beyond;
        for (std::uint32_t k = 1; k <= 12; ++k) {
            start = StepBack(start);
            GeneratorState probe = start;
            PartialDraw draw;
            std::uint32_t values = 0;
            while (!draw.Complete(kFavouriteCount)) {
                draw.Take(NextNumber(probe), grid);
                ++values;
            }
            if (k < 6 || values != k + 1) {
                continue;
            }
            ++checked;
            for (const unsigned threads : {1u, 2u}) {
                ParallelDrawEngine engine(threads, k, *kernel);
                EXPECT_EQ(Parallel(engine, start, 1, grid), Sequential(start, 1, grid)) << d;
            }
        }
    }
    EXPECT_EQ(checked, 3);
}

LOTO_FOR_EVERY_LANE_PATH(ParallelDrawEngineTest);

}  // namespace
}  // namespace loto
