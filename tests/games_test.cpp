// Any game, drawn as written: the serial loop against a plain transcription of the draw, the
// engine on every path and number of threads against the serial loop, and the tiers' exact
// probabilities.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <tuple>

#include "core/combinations.h"
#include "core/game_numbers.h"
#include "core/parallel_engine.h"
#include "core/tiers.h"
#include "tests/support/example_games.h"
#include "tests/support/lane_path_test.h"
#include "tests/support/serial_watch.h"
#include "tests/transcription.h"

namespace loto {
namespace {

using test::ExampleRules;
using test::Ticket;

// From the seed and from states next to the edges of the generator, where a one-off quotient
// draws a 0 or an N + 1: the serial loop draws what the transcription draws.
TEST(Games, TheSerialLoopDrawsAsWritten) {
    for (const DrawRule& rule : test::EveryTestRule()) {
        std::vector<GeneratorState> starts = test::StatesNearBoundaries(rule.game.main.top);
        if (rule.game.hasSecond()) {
            const auto second = test::StatesNearBoundaries(rule.game.second.top);
            starts.insert(starts.end(), second.begin(), second.end());
        }
        GeneratorState reference = kSeedState;
        GeneratorState fast = kSeedState;
        std::vector<std::uint64_t> tally(static_cast<std::size_t>(rule.tiers()));
        DrawInto(fast, 3000, rule, tally);
        EXPECT_EQ(tally, test::TranscribedTally(reference, 3000, rule)) << GameName(rule.game);
        EXPECT_EQ(fast, reference);
        for (const GeneratorState& start : starts) {
            reference = fast = start;
            std::ranges::fill(tally, 0);
            DrawInto(fast, 2, rule, tally);
            ASSERT_EQ(tally, test::TranscribedTally(reference, 2, rule)) << GameName(rule.game);
            ASSERT_EQ(fast, reference);
        }
    }
}

// Each draw's numbers in the order drawn, main, bonus and second pool, as the transcription draws
// them, from the seed and next to the edges, where some are a 0 or a top + 1.
TEST(Games, EachDrawsNumbersAsWritten) {
    int offEdge = 0;
    for (const DrawRule& rule : test::EveryTestRule()) {
        const Game& game = rule.game;
        std::vector<GeneratorState> starts = test::StatesNearBoundaries(game.main.top);
        starts.insert(starts.begin(), kSeedState);
        std::vector<std::uint8_t> numbers(
            static_cast<std::size_t>(game.mainTaken() + game.second.drawn));
        for (const GeneratorState& start : starts) {
            GeneratorState reference = start;
            GeneratorState fast = start;
            for (int d = 0; d < (start == kSeedState ? 2000 : 2); ++d) {
                const test::GameDraw draw = test::DrawGame(reference, game);
                std::vector<int> expected = draw.main;
                if (game.bonus) {
                    expected.push_back(draw.bonus);
                }
                expected.insert(expected.end(), draw.second.begin(), draw.second.end());
                DrawGameNumbers(fast, game, numbers);
                ASSERT_EQ(std::vector<int>(numbers.begin(), numbers.end()), expected)
                    << GameName(game) << " draw " << d;
                ASSERT_EQ(fast, reference);
                offEdge += static_cast<int>(std::ranges::count_if(
                    expected, [&](int n) { return n == 0 || n == game.main.top + 1; }));
            }
        }
    }
    EXPECT_GT(offEdge, 0);
}

class GameEngine : public test::LanePathTest {};

// Whatever the path, the number of threads and the size of the chunks, every game draws the
// tally and leaves the state of the serial loop.
TEST_P(GameEngine, EqualsTheSerialLoop) {
    std::mt19937_64 random(7);
    const GeneratorState starts[] = {kSeedState,
                                     {static_cast<std::int64_t>(random() >> 16),
                                      static_cast<std::int64_t>(random() % 32353) * 10000}};
    for (const DrawRule& rule : test::EveryTestRule()) {
        for (const std::uint32_t chunk : {200u, 65536u}) {
            const auto perChunk = static_cast<std::uint64_t>(chunk / ValuesPerDraw(rule.game));
            for (const unsigned threads : {1u, 3u}) {
                ParallelDrawEngine engine(threads, chunk, *kernel);
                for (const std::uint64_t draws : {perChunk + 1, 5 * perChunk + 3}) {
                    for (const GeneratorState& start : starts) {
                        const auto tiers = static_cast<std::size_t>(rule.tiers());
                        std::vector<std::uint64_t> serial(tiers), parallel(tiers);
                        GeneratorState serialState = start, parallelState = start;
                        DrawInto(serialState, draws, rule, serial);
                        engine.Draw(parallelState, draws, rule, parallel);
                        ASSERT_EQ(std::tie(parallel, parallelState), std::tie(serial, serialState))
                            << GameName(rule.game) << " chunk " << chunk << " threads " << threads
                            << " draws " << draws;
                    }
                }
            }
        }
    }
}

// Calls that each continue the draws of the one before take up the chunks under way where it
// stopped, in the middle of a chunk; a call from another state starts afresh: each call's tally
// and state are those of the serial loop.
TEST_P(GameEngine, CallsTakeUpTheChunksUnderWay) {
    for (const DrawRule& rule : test::EveryTestRule()) {
        for (const std::uint32_t chunk : {200u, 65536u}) {
            const auto perChunk = static_cast<std::uint64_t>(chunk / ValuesPerDraw(rule.game));
            const std::uint64_t counts[] = {perChunk / 3 + 1, perChunk + 5, 2 * perChunk, 1,
                                            perChunk,         perChunk / 2};
            for (const unsigned threads : {1u, 3u}) {
                ParallelDrawEngine engine(threads, chunk, *kernel);
                GeneratorState parallelState = kSeedState, serialState = kSeedState;
                for (std::size_t call = 0; call < std::size(counts); ++call) {
                    if (call == 3) {  // as a command in between does: the stream moves on
                        std::vector<std::uint64_t> aside(static_cast<std::size_t>(rule.tiers()));
                        DrawInto(serialState, 5, rule, aside);
                        parallelState = serialState;
                    }
                    const std::uint64_t ahead = call + 1 < std::size(counts) ? counts[call + 1] : 0;
                    std::vector<std::uint64_t> serial(static_cast<std::size_t>(rule.tiers())),
                        parallel(serial.size());
                    DrawInto(serialState, counts[call], rule, serial);
                    engine.Draw(parallelState, counts[call], rule, parallel, nullptr, 0, ahead);
                    ASSERT_EQ(std::tie(parallel, parallelState), std::tie(serial, serialState))
                        << GameName(rule.game) << " chunk " << chunk << " threads " << threads
                        << " call " << call;
                }
            }
        }
    }
}

// Watched for first draws and until the rarest tier that the run reaches: only the chunks that
// hold a tier's first draw are gone through draw by draw, and the run ends at that tier's first,
// with the tally and state of one draw after another.
TEST_P(GameEngine, WatchedAsOneDrawAfterAnother) {
    for (const DrawRule& rule : test::EveryTestRule()) {
        for (const std::uint32_t chunk : {200u, 65536u}) {
            const auto draws = static_cast<std::uint64_t>(9 * chunk / ValuesPerDraw(rule.game));
            const test::SerialWatch whole = test::DrawSerially(rule, draws, {});
            const auto rarest =
                static_cast<int>(std::ranges::max_element(whole.firstHit) - whole.firstHit.begin());
            for (const std::vector<int>& until : {std::vector<int>{}, std::vector{rarest}}) {
                const test::SerialWatch serial = test::DrawSerially(rule, draws, until);
                for (const unsigned threads : {1u, 3u}) {
                    ParallelDrawEngine engine(threads, chunk, *kernel);
                    std::vector<std::uint64_t> tally(serial.tally.size()),
                        firstHit(serial.tally.size());
                    DrawWatch watch{.firstHit = firstHit, .until = until};
                    GeneratorState state = kSeedState;
                    const std::uint64_t done = engine.Draw(state, draws, rule, tally, &watch);
                    ASSERT_EQ(std::tie(tally, firstHit, state, done),
                              std::tie(serial.tally, serial.firstHit, serial.state, serial.done))
                        << GameName(rule.game) << " chunk " << chunk << " threads " << threads;
                    EXPECT_EQ(watch.ended,
                              until.empty() ? std::nullopt : std::optional(serial.done));
                }
            }
        }
    }
}

LOTO_FOR_EVERY_LANE_PATH(GameEngine);

// The tiers of a ticket in the order that tickets list them, with exact probabilities that sum
// to 1, the impossible ones left out.
// The values a draw takes, as the draws of a chunk from the seed space them: their mean and
// variance within five standard errors of the laws' (each number's candidates geometric).
TEST(Games, ValuesADrawTakes) {
    for (const DrawRule& rule : ExampleRules()) {
        DrawChunk chunk;
        GenerateChunk(kSeedState, 1 << 20, rule, chunk);
        std::vector<double> lengths;
        for (std::uint32_t i = 1, last = 0; i < chunk.size(); ++i) {
            if (chunk.StartsAt(i)) {
                lengths.push_back(i - last);
                last = i;
            }
        }
        const auto n = static_cast<double>(lengths.size());
        const double mean = std::accumulate(lengths.begin(), lengths.end(), 0.0) / n;
        double squares = 0;
        for (const double length : lengths) {
            squares += (length - mean) * (length - mean);
        }
        const double variance = squares / (n - 1);
        const double law = ValuesPerDrawVariance(rule.game);
        EXPECT_NEAR(mean, ValuesPerDraw(rule.game), 5 * std::sqrt(law / n)) << GameName(rule.game);
        // The variance's standard error, from the fourth moment: within a factor of the
        // variance's for these laws, whose tails are short.
        EXPECT_NEAR(variance, law, 5 * 3 * law / std::sqrt(n)) << GameName(rule.game);
    }
}

TEST(Games, TiersAndTheirProbabilities) {
    for (const DrawRule& rule : ExampleRules()) {
        const std::vector<Tier> tiers = Tiers(rule);
        const double sum =
            std::accumulate(tiers.begin(), tiers.end(), 0.0,
                            [](double s, const Tier& t) { return s + t.probability; });
        EXPECT_NEAR(sum, 1, 1e-12) << GameName(rule.game);
    }
    // C(n, k), 0 outside 0 <= k <= n, exact to the largest a game's money needs (Python's
    // math.comb for the last two, written as high x 10^18 + low).
    const auto decimal = [](std::uint64_t high, std::uint64_t low) {
        return Cents{high} * 1'000'000'000'000'000'000 + low;
    };
    for (const auto& [n, k, ways] :
         {std::tuple(49, 6, Cents{13983816}), std::tuple(4, 6, Cents{0}),
          std::tuple(5, -1, Cents{0}), std::tuple(0, 0, Cents{1}),
          std::tuple(99, 49, decimal(50445672272, 782096667406248628)),
          std::tuple(124, 62, decimal(1520803477811874490, 19821888415218656))}) {
        EXPECT_TRUE(Choose(n, k) == ways) << n << " " << k;
    }
    const auto named = [](const DrawRule& rule, const std::string& name) {
        for (const Tier& tier : Tiers(rule)) {
            if (TierName(tier) == name) {
                return tier.probability;
            }
        }
        return 0.0;
    };
    const std::vector<DrawRule>& rules = ExampleRules();
    const std::tuple<DrawRule, std::string, double> known[] = {
        {Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6}), "6", 13'983'816},
        {rules[0], "5+b", 2'330'636},
        {rules[0], "6", 13'983'816},
        {rules[3], "5+2", 139'838'160},
        {rules[4], "5+1", 292'201'338},
        {rules[5], "5+1", 19'068'840},
        {rules[6], "6", 622'614'630},
    };
    for (const auto& [rule, name, oneIn] : known) {
        EXPECT_NEAR(named(rule, name) * oneIn, 1, 1e-12) << GameName(rule.game) << " " << name;
    }
    // Both counts named where there is a second pool, the bonus unmatched first.
    std::vector<std::string> names;
    for (const Tier& tier : Tiers(rules[3])) {
        names.push_back(TierName(tier));
    }
    EXPECT_EQ(std::vector(names.begin(), names.begin() + 4),
              (std::vector<std::string>{"0+0", "0+1", "0+2", "1+0"}));
    EXPECT_EQ(TierName(Tiers(rules[0])[1]), "0+b");
    EXPECT_EQ(TierName(Tier{.main = 5, .bonus = true, .second = 2}), "5+b+2");
    // A ticket of every number matches all six, and nothing else.
    DrawRule all{.game = kSixOfFortyNine, .main = {}, .second = {}};
    for (int n = 1; n <= 49; ++n) {
        all.main.Add(n);
    }
    ASSERT_EQ(Tiers(all).size(), 1u);
    EXPECT_EQ(Tiers(all)[0].probability, 1);
}

}  // namespace
}  // namespace loto
