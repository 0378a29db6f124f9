// loto-sim playing any game: its draws against a plain transcription, the tiers of its outputs,
// and what it refuses.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "core/game_session.h"
#include "core/speed_test.h"
#include "tests/support/loto_sim.h"
#include "tests/transcription.h"

namespace loto {
namespace {

using nlohmann::json;
using test::After;
using test::ExpectRuns;
using test::RunSim;

struct GameRun {
    std::string typed;
    Game game;
    std::string ticket;  // as typed after the number of draws
    std::vector<int> main;
    std::vector<int> second;
};

const std::vector<GameRun> kExamples = {
    {"6/49+bonus", {.main = {6, 49}, .bonus = true}, "1 2 3 4 5 6", {1, 2, 3, 4, 5, 6}, {}},
    {"6/45", {.main = {6, 45}}, "3 9 17 28 41 45", {3, 9, 17, 28, 41, 45}, {}},
    {"7/35", {.main = {7, 35}}, "1 5 9 13 20 27 35", {1, 5, 9, 13, 20, 27, 35}, {}},
    {"5/50+2/12",
     {.main = {5, 50}, .second = {2, 12}},
     "3 14 25 36 47 + 2 9",
     {3, 14, 25, 36, 47},
     {2, 9}},
    {"5/69+1/26",
     {.main = {5, 69}, .second = {1, 26}},
     "7 19 33 52 69 + 13",
     {7, 19, 33, 52, 69},
     {13}},
    {"5/49+1/10",
     {.main = {5, 49}, .second = {1, 10}},
     "1 12 23 34 45 + 10",
     {1, 12, 23, 34, 45},
     {10}},
    {"6/90", {.main = {6, 90}}, "1 17 33 49 65 90", {1, 17, 33, 49, 65, 90}, {}},
    {"20/70",
     {.main = {20, 70}},
     "2 9 16 23 30 37 44 51 58 65",
     {2, 9, 16, 23, 30, 37, 44, 51, 58, 65},
     {}},
};

DrawRule RuleOf(const GameRun& run) {
    DrawRule rule{.game = run.game, .main = {}, .second = {}};
    for (const int n : run.main) {
        rule.main.Add(n);
    }
    for (const int n : run.second) {
        rule.second.Add(n);
    }
    return rule;
}

// From a fresh start, the speed test's draws against the ticket 1 to p (and 1 to q), then the
// draws asked for: each example game's tiers count what the transcription of its draw counts, the
// JSON's game written as it was typed.
TEST(LotoSimGames, EveryExampleDrawsAsWritten) {
    constexpr std::uint64_t kDraws = 3000;
    for (const GameRun& example : kExamples) {
        const auto run = RunSim("--json --game " + example.typed + " " + std::to_string(kDraws) +
                                " " + example.ticket);
        ASSERT_EQ(run.status, 0) << example.typed << run.err;
        const json command = json::parse(run.out);
        const DrawRule rule = RuleOf(example);
        GeneratorState state = kSeedState;
        (void)test::TranscribedTally(state, TestDrawCount(kDraws), TestRule(rule));
        const std::vector<std::uint64_t> expected = test::TranscribedTally(state, kDraws, rule);
        std::vector<std::uint64_t> counted(expected.size());
        for (const json& tier : command["tiers"]) {
            const int bonus = tier["bonus"].is_null() ? 0 : tier["bonus"].get<bool>() ? 1 : 0;
            const int second = tier["second"].is_null() ? 0 : tier["second"].get<int>();
            counted[static_cast<std::size_t>(rule.TierIndex(tier["main"], bonus, second))] =
                tier["count"];
        }
        EXPECT_EQ(counted, expected) << example.typed;
        EXPECT_EQ(command["game"], example.typed);
        EXPECT_EQ(command["draws"], kDraws);
    }
}

// A tier as the JSON and the text name it, its expected count for the draws asked for (a
// Double), its probability and deviation; --stats adds each tier's z and p and the chi-square of
// tiers pooled in their order.
TEST(LotoSimGames, EachTierItsFigures) {
    const auto run = RunSim("--json --stats --game 5/50+2/12 1000000 3 14 25 36 50 + 2 12");
    ASSERT_EQ(run.status, 0) << run.err;
    const json command = json::parse(run.out);
    const json& last = command["tiers"].back();
    EXPECT_EQ(json({last["tier"], last["main"], last["bonus"], last["second"]}),
              json({"5+2", 5, nullptr, 2}));
    EXPECT_NEAR(last["probability"].get<double>() * 139'838'160, 1, 1e-12);
    EXPECT_NEAR(last["expected"].get<double>(), 1e6 / 139'838'160, 1e-12);
    EXPECT_EQ(command["tiers"].size(), 18u);
    EXPECT_TRUE(last["z"].is_number() && last["p"].is_number());
    EXPECT_EQ(command["stats"]["groups"].back().front(), "4+1");  // rare tiers pooled
    EXPECT_EQ(command["ticket"], json({{"main", {3, 14, 25, 36, 50}}, {"second", {2, 12}}}));
    ExpectRuns({
        {"--locale fr_FR --game 6/49+bonus 13983816 1 2 3 4 5 6", 0,
         "\n 5+b                 3                  6,            -50,\n", ""},
        {"--locale fr_FR --game 6/49 --stats 13983816 1 2 3 4 5 6", 0,
         "\n  tiers 5 to 6 pooled: expected counts under 5 (together 259)\n", ""},
        {"--csv --game 5/49+1/10 1000 1 2 3 4 5 + 1", 0,
         "stream,command,game,tier,main,bonus,second,observed,expected,probability,deviation,"
         "interrupted\n0,1,5/49+1/10,0+0,0,,0,",
         ""},
        {"--csv --game 6/49+bonus 1000 1 2 3 4 5 6", 0, "\n0,1,6/49+bonus,0+b,0,1,,", ""},
        // A ticket of more numbers than drawn, and a keno pick of fewer.
        {"--json --game 6/49 100 1 2 3 4 5 6 7 8", 0, "\"ticket\":{\"main\":[1,2,3,4,5,6,7,8]}",
         ""},
        {"--json --game 20/70 100 1 2 3 4 5 6 7 8 9 10", 0, "\"tier\":\"10\"", ""},
        // Batch lines of the same fields, '+' a field of its own.
        After("printf '100;3;14;25;36;47;+;2;9\\n200;1;2;3;4;5;+;1;2\\n' | ",
              {"--batch --json --game 5/50+2/12", 0, "{\"command\":2,\"draws\":200,", ""}),
        {"--json --game 6/49 1e400 1 2 3 4 5 6", 1, "\"refused\":\"unreadable\"",
         "the number in DRAWS is beyond the range of numbers"},
    });
}

// A game or a ticket that cannot be played is refused before anything is drawn, with what was
// typed quoted and the rule it breaks.
TEST(LotoSimGames, RefusesWhatCannotBePlayed) {
    const std::string notAGame = " is not a game: K/N, then +bonus, then +M/Q";
    ExpectRuns({
        {"--game 7/5 10 1", 2, "", "--game: \"7/5\"" + notAGame},
        {"--game 6/100 10 1", 2, "", "\"6/100\"" + notAGame},
        {"--game 0/49 10 1", 2, "", "\"0/49\"" + notAGame},
        {"--game 6/49+bonux 10 1", 2, "", "\"6/49+bonux\"" + notAGame},
        {"--game 5/50+2/12+bonus 10 1", 2, "", notAGame},
        {"--game 5/50+2 10 1", 2, "", notAGame},
        {"--game 06/049 --json 10 1 2 3 4 5 6", 0, "\"game\":\"6/49\"", ""},
        {"--game 6/49 10 1 2 3 4 5 50", 2, "", "ticket refused: N6 is \"50\", not from 1 to 49"},
        {"--game 6/49 10 8 7.6", 2, "", "N2 is \"7.6\", 8 once rounded, which the ticket holds"},
        {"--game 6/49 10 1e400", 2, "", "N1 is \"1e400\", beyond the range of numbers"},
        {"--game 5/50+2/12 10 1 2 3 4 5", 2, "", "the numbers of the second pool are missing"},
        {"--game 5/50+2/12 10 + 1 2", 2, "", "a ticket holds 1 to 50 main numbers, not 0"},
        {"--game 5/50+2/12 10 1 + 13", 2, "", "S1 is \"13\", not from 1 to 12"},
        {"--game 6/49 10 1 + 2", 2, "", "this game has no second pool"},
        // The mark is read as the numbers around it are, blanks aside.
        {"--game 5/50+2/12 10 1 ' + ' 2", 0, "draws: 10 in", ""},
        After("printf '1000; 3;14;25;36;47; + ;2;9\n' | ",
              {"--batch --game 5/50+2/12", 0, "draws: 1000 in", ""}),
        // A ticket of every number: only its top tier can happen, nothing to test or to score.
        {"--game 6/99 --stats --locale en_US 1000 $(seq 1 99)", 0,
         "\n 6                1000               1000.              0.         -           1\n"
         "chi-square: only one tier is possible, nothing to test\n",
         ""},
        {"--game 6/49", 2, "", "expected DRAWS and a ticket"},
        {"--raw --game 6/49", 2, "", "--raw excludes --game"},
        After("printf '100;1;2;3;4;5;6\\n10;1;1\\n' | ",
              {"--batch --game 6/49", 2, "draws: 100 in", "ticket refused: N2 is \"1\""}),
    });
}

// Every tier charted, its name under its column and in the key.
TEST(LotoSimGames, ChartsEveryTier) {
    const std::string one = test::Chart("--game 5/50+2/12 100000 3 14 25 36 47 + 2 9");
    EXPECT_NE(one.find(">5+2</text>"), std::string::npos);
    EXPECT_NE(one.find("data-k=\"17\""), std::string::npos);
    const std::string several = test::Chart("--repeat 3 --game 6/49+bonus 10000 1 2 3 4 5 6");
    EXPECT_NE(several.find(">5+b</text>"), std::string::npos);
    EXPECT_NE(several.find("after 3 commands"), std::string::npos);
    // Tickets of different tiers cannot share one chart.
    ExpectRuns({After("printf '100;1;2;3;4;5;6\\n100;1;2;3;4;5;6;7\\n' | ",
                      {"--svg /tmp/loto-none.svg --batch --game 6/49 >/dev/null", 1, "",
                       "the commands' tiers differ: no chart"})});
}

}  // namespace
}  // namespace loto
