#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/generator_jump.h"
#include "core/parallel_engine.h"
#include "tests/support/example_games.h"
#include "tests/support/lane_path_test.h"
#include "tests/support/serial_watch.h"

namespace loto {
namespace {

// Peers in this process: an engine each, as a cluster's ranks draw their blocks.
class LocalPeers : public DrawPeers {
public:
    // `skew`: draws of each answer's first tier counted in its second, as a peer that miscounts
    // would.
    LocalPeers(unsigned count, std::uint32_t chunk, const LaneKernel& kernel,
               std::uint64_t skew = 0)
        : asked_(count), skew_(skew) {
        for (unsigned peer = 0; peer < count; ++peer) {
            engines_.push_back(std::make_unique<ParallelDrawEngine>(2, chunk, kernel));
        }
    }
    [[nodiscard]] unsigned count() const noexcept override {
        return static_cast<unsigned>(engines_.size());
    }
    void Ask(unsigned peer, const DrawRule& rule, const BlockRequest& block) override {
        asked_.at(peer - 1) = {rule, block};
    }
    BlockResult Answer(unsigned peer, const DrawRule& rule) override {
        EXPECT_EQ(asked_.at(peer - 1).first, rule);
        BlockResult result = engines_[peer - 1]->DrawBlock(asked_[peer - 1].second, rule);
        result.tally[0] -= skew_;
        result.tally[1] += skew_;
        return result;
    }

private:
    std::vector<std::unique_ptr<ParallelDrawEngine>> engines_;
    std::vector<std::pair<DrawRule, BlockRequest>> asked_;
    std::uint64_t skew_;
};

class SharedDraws : public test::LanePathTest {};

// Shared with one or two peers, every game draws what one process draws one draw after another:
// the tally, the state, the first draw of each tier and the end at an `until` tier, from two
// starts, for counts that leave a few draws after the blocks or end inside one.
TEST_P(SharedDraws, EqualOneDrawAfterAnother) {
    constexpr std::uint32_t kChunk = 256;
    const GeneratorState starts[] = {kSeedState, *StreamStart(3)};
    for (const DrawRule& rule : test::EveryTestRule()) {
        // Blocks of more than the fewest chunks each, with three of them.
        const auto draws = static_cast<std::uint64_t>(3 * 70 * kChunk / ValuesPerDraw(rule.game));
        for (const GeneratorState& start : starts) {
            const test::SerialWatch whole = test::DrawSerially(rule, draws, {}, start);
            const auto rarest =
                static_cast<int>(std::ranges::max_element(whole.firstHit) - whole.firstHit.begin());
            const test::SerialWatch until = test::DrawSerially(rule, draws, {rarest}, start);
            for (const unsigned peers : {1u, 2u}) {
                ParallelDrawEngine engine(1, kChunk, *kernel);
                LocalPeers local(peers, kChunk, *kernel);
                engine.Share(&local);
                for (const auto& [tiers, serial] : {std::pair(std::vector<int>{}, whole),
                                                    std::pair(std::vector{rarest}, until)}) {
                    std::vector<std::uint64_t> tally(serial.tally.size()),
                        firstHit(serial.tally.size());
                    DrawWatch watch{.firstHit = firstHit, .until = tiers};
                    GeneratorState state = start;
                    const std::uint64_t done = engine.Draw(state, draws, rule, tally, &watch);
                    ASSERT_EQ(std::tie(tally, firstHit, state, done),
                              std::tie(serial.tally, serial.firstHit, serial.state, serial.done))
                        << GameName(rule.game) << " peers " << peers << " until " << tiers.size();
                }
                // Unwatched, the same draws, in two calls that go on from each other.
                std::vector<std::uint64_t> plain(whole.tally.size());
                GeneratorState state = start;
                engine.Draw(state, draws / 3, rule, plain);
                engine.Draw(state, draws - draws / 3, rule, plain);
                ASSERT_EQ(std::tie(plain, state), std::tie(whole.tally, whole.state))
                    << GameName(rule.game) << " peers " << peers;
            }
        }
    }
}

// The peers' answers are what the tally is made of, one block a peer, not drawn again here: a
// peer that miscounts a draw's tier shows in it once a block.
TEST_P(SharedDraws, TakeThePeersBlocks) {
    constexpr std::uint32_t kChunk = 256;
    const DrawRule rule = SixOfFortyNineRule(NumberMask({7, 10, 14, 20, 30, 40}));
    const std::uint64_t draws = 100'000;
    const test::SerialWatch serial = test::DrawSerially(rule, draws, {});
    for (const unsigned peers : {1u, 2u}) {
        ParallelDrawEngine engine(1, kChunk, *kernel);
        LocalPeers skewed(peers, kChunk, *kernel, 1);
        engine.Share(&skewed);
        std::vector<std::uint64_t> tally(serial.tally.size());
        GeneratorState state = kSeedState;
        engine.Draw(state, draws, rule, tally);
        std::vector<std::uint64_t> expected = serial.tally;
        expected[0] -= peers;
        expected[1] += peers;
        EXPECT_EQ(tally, expected) << peers << " peers";
    }
}

LOTO_FOR_EVERY_LANE_PATH(SharedDraws);

}  // namespace
}  // namespace loto
