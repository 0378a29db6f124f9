// Any game's speed against the designed game's, measured side by side in one run on the
// processor at hand: for each path of lanes and one and two threads, the generator values that
// the engine draws a second for each example game, as a share of what it draws for 6/49, with the
// goals beside them. Values, not draws: a draw of 20/70 takes more values than one of 6/49.
// Prints figures; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/draw_lanes.h"
#include "core/parallel_engine.h"
#include "core/tiers.h"
#include "idle_pump.h"
#include "processor.h"

namespace {

using loto::DrawRule;
using loto::Game;

constexpr int kRounds = 3;             // best of three: the machine is shared
constexpr double kValuesARun = 2.5e8;  // a few tenths of a second a measurement

struct Example {
    Game game;
    std::vector<int> main;
    std::vector<int> second;
};

DrawRule Rule(const Example& example) {
    DrawRule rule{.game = example.game, .main = {}, .second = {}};
    for (const int n : example.main) {
        rule.main.Add(n);
    }
    for (const int n : example.second) {
        rule.second.Add(n);
    }
    return rule;
}

// The goal of a game against 6/49: one pool up to 64 numbers draws as fast, a bonus or a second
// pool half as fast; beyond 64 numbers only the portable path has a goal.
double Goal(const Game& game, loto::LanePath path) {
    if (game.bonus || game.hasSecond()) {
        return game.main.top <= 64 || path == loto::LanePath::Portable ? 0.5 : 0;
    }
    return game.main.top <= 64 || path == loto::LanePath::Portable ? 0.8 : 0;
}

// Generator values a second of the engine drawing the rule's game.
double ValuesPerSecond(const loto::LaneKernel& kernel, unsigned threads, const DrawRule& rule) {
    loto::ParallelDrawEngine engine(threads, loto::ParallelDrawEngine::kDefaultChunkValues, kernel);
    loto::test::IdlePump pump;
    std::vector<std::uint64_t> tally(static_cast<std::size_t>(rule.tiers()));
    const double values = loto::ValuesPerDraw(rule.game);
    const auto draws = static_cast<std::uint64_t>(kValuesARun / values);
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        loto::GeneratorState state = loto::kSeedState;
        const auto start = std::chrono::steady_clock::now();
        (void)engine.Run(state, draws, rule, tally, pump);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::max(best, static_cast<double>(draws) * values / took.count());
    }
    return best;
}

}  // namespace

int main() {
    const std::vector<Example> examples = {
        {{.main = {6, 49}}, {5, 15, 25, 35, 45, 49}, {}},
        {{.main = {6, 45}}, {3, 9, 17, 28, 41, 45}, {}},
        {{.main = {7, 35}}, {1, 5, 9, 13, 20, 27, 35}, {}},
        {{.main = {6, 49}, .bonus = true}, {5, 15, 25, 35, 45, 49}, {}},
        {{.main = {5, 50}, .second = {2, 12}}, {3, 14, 25, 36, 47}, {2, 9}},
        {{.main = {5, 49}, .second = {1, 10}}, {1, 12, 23, 34, 45}, {10}},
        {{.main = {5, 69}, .second = {1, 26}}, {7, 19, 33, 52, 69}, {13}},
        {{.main = {6, 90}}, {1, 17, 33, 49, 65, 90}, {}},
        {{.main = {20, 70}}, {2, 9, 16, 23, 30, 37, 44, 51, 58, 65}, {}},
    };
    std::printf(
        "%s. Generator values a second of each game, against 6/49 on the same path and threads "
        "(best of %d)\n",
        loto::test::Processor().c_str(), kRounds);
    std::printf("%-11s %-7s %-12s %14s %8s %6s\n", "path", "threads", "game", "values/s", "x 6/49",
                "goal");
    for (const loto::LanePath path : {loto::LanePath::Portable, loto::LanePath::Avx2,
                                      loto::LanePath::Avx512, loto::LanePath::Avx512Ifma}) {
        const loto::LaneKernel* kernel = loto::FindLaneKernel(path);
        if (kernel == nullptr) {
            std::printf("%-11s not on this processor\n", loto::LanePathName(path).data());
            continue;
        }
        for (const unsigned threads : {1u, 2u}) {
            double designed = 0;
            for (const Example& example : examples) {
                const double rate = ValuesPerSecond(*kernel, threads, Rule(example));
                designed = designed == 0 ? rate : designed;
                const double goal = Goal(example.game, path);
                const std::string goalText = goal > 0 ? std::to_string(goal).substr(0, 4) : "-";
                std::printf("%-11s %-7u %-12s %14.0f %8.2f %6s\n", loto::LanePathName(path).data(),
                            threads, loto::GameName(example.game).c_str(), rate, rate / designed,
                            goalText.c_str());
            }
        }
    }
    return 0;
}
