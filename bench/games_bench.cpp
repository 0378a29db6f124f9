// Every example game's speed against the designed game's, measured side by side in one run on the
// processor at hand, as a user runs it: loto-sim drawing each game on each path of lanes with one
// and two threads, as it reports its draws' time (its speed test left out), in generator values a
// second (a draw of 20/70 takes more values than one of 6/49); then the same with a price, which
// watches every tier for its first draw. Beside each figure: its share of 6/49's on the same path
// and threads, two threads' share of one, watched over unwatched, and the goals. Prints figures;
// asserts nothing.
// Usage: loto-games-bench LOTO_SIM
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/draw_lanes.h"
#include "core/draws.h"
#include "core/game_input.h"
#include "processor.h"
#include "reported_rate.h"

namespace {

constexpr int kRounds = 3;            // best of three: the machine is shared
constexpr double kValuesARun = 5e8;   // some tenths of a second a run
constexpr double kOnePool = 0.8;      // of 6/49's values a second
constexpr double kTwoPools = 0.7;     // a bonus or a second pool
constexpr double kTwoThreads = 1.85;  // of one thread's
constexpr double kWatched = 0.95;     // of the same run unwatched

struct Example {
    const char* game;
    const char* ticket;
};

// 6/49 first: the others are measured against it.
constexpr Example kExamples[] = {
    {"6/49", "7 10 14 20 30 40"},
    {"6/45", "3 9 17 28 41 45"},
    {"7/35", "1 5 9 13 20 27 35"},
    {"6/90", "1 17 33 49 65 90"},
    {"20/70", "2 9 16 23 30 37 44 51 58 65"},
    {"6/49+bonus", "5 15 25 35 45 49"},
    {"5/50+2/12", "3 14 25 36 47 + 2 9"},
    {"5/49+1/10", "1 12 23 34 45 + 10"},
    {"5/69+1/26", "7 19 33 52 69 + 13"},
};

// The generator values a second of loto-sim drawing the game, best of kRounds.
double ValuesPerSecond(const std::string& lotoSim, const Example& example, loto::LanePath path,
                       unsigned threads, bool watched) {
    const double values = loto::ValuesPerDraw(*loto::ParseGame(example.game).game);
    const auto draws = static_cast<long long>(kValuesARun / values);
    const std::string command = "LOTO_LANES=" + std::string(loto::LanePathName(path)) + " " +
                                lotoSim + " --json --threads " + std::to_string(threads) +
                                " --game " + example.game + (watched ? " --price 2" : "") + " " +
                                std::to_string(draws) + " " + example.ticket;
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        best = std::max(best, loto::test::ReportedDrawsPerSecond(command) * values);
    }
    return best;
}

std::string Goal(double value, double goal) {
    char text[32];
    std::snprintf(text, sizeof text, "%5.2f %s", value, value >= goal ? "  " : " <");
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: loto-games-bench LOTO_SIM\n");
        return 2;
    }
    const std::string lotoSim = argv[1];
    std::printf(
        "%s. loto-sim drawing each game, generator values a second (best of %d); x 6/49: of 6/49's "
        "on the same path and threads (goal %.1f for one pool, %.1f for two); x 1 thread (goal "
        "%.2f); watched: with a price, over without (goal %.2f); '<' where a goal is missed\n",
        loto::test::Processor().c_str(), kRounds, kOnePool, kTwoPools, kTwoThreads, kWatched);
    std::printf("%-11s %-12s %14s %14s %8s %8s %8s %10s\n", "path", "game", "1 thread", "2 threads",
                "x 6/49", "x 6/49", "x 1", "watched");
    for (const loto::LanePath path : {loto::LanePath::Portable, loto::LanePath::Avx2,
                                      loto::LanePath::Avx512, loto::LanePath::Avx512Ifma}) {
        if (loto::FindLaneKernel(path) == nullptr) {
            std::printf("%-11s not on this processor\n", loto::LanePathName(path).data());
            continue;
        }
        double designedOne = 0, designedTwo = 0;
        for (const Example& example : kExamples) {
            const double one = ValuesPerSecond(lotoSim, example, path, 1, false);
            const double two = ValuesPerSecond(lotoSim, example, path, 2, false);
            const double watched = ValuesPerSecond(lotoSim, example, path, 2, true);
            designedOne = designedOne == 0 ? one : designedOne;
            designedTwo = designedTwo == 0 ? two : designedTwo;
            const bool onePool = std::string(example.game).find('+') == std::string::npos;
            const double share = onePool ? kOnePool : kTwoPools;
            std::printf(
                "%-11s %-12s %14.0f %14.0f %8s %8s %8s %10s\n", loto::LanePathName(path).data(),
                example.game, one, two, Goal(one / designedOne, share).c_str(),
                Goal(two / designedTwo, share).c_str(), Goal(two / one, kTwoThreads).c_str(),
                Goal(watched / two, kWatched).c_str());
        }
    }
    return 0;
}
