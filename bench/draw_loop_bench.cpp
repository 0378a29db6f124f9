// Speed of the draw loop against the bare generator and against a plain Double transcription, and
// of the engine on each path of lanes, measured side by side in one run. Prints figures and
// ratios; asserts nothing.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "core/draw_lanes.h"
#include "core/draws.h"
#include "core/parallel_engine.h"
#include "tests/support/idle_pump.h"

namespace {

std::string Printf(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

using loto::GeneratorState;

constexpr double kValuesPerDraw = 6.3;  // six numbers and about 0.3 rejected candidates
constexpr int kRounds = 3;              // best of three: the machine is shared

// What each measurement computed, printed at the end so that no loop can be optimised away.
std::uint64_t g_checksum = 0;

// Best rate over a few rounds of `work`, which does `units` of work per call.
double BestRate(double units, const std::function<void()>& work) {
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::max(best, units / took.count());
    }
    return best;
}

// (a) The generator chain alone: each step and its number, nothing drawn.
double GeneratorChain(std::uint64_t values) {
    GeneratorState state = loto::kSeedState;
    std::uint64_t sum = 0;
    const double rate = BestRate(static_cast<double>(values), [&] {
        for (std::uint64_t i = 0; i < values; ++i) {
            sum += static_cast<std::uint64_t>(loto::NextNumber(state));
        }
    });
    g_checksum += sum;
    return rate;
}

// (b) The draw loop as the Double formulas read: two divisions and a floor per value, numbers
// compared one by one, a Double tally.
struct DoubleTranscription {
    std::int64_t x = loto::kSeedState.x;
    std::int64_t c = loto::kSeedState.c;

    double NextUniform() {
        const std::int64_t t = 32353 * x + c;
        const double q = std::floor((static_cast<double>(t) / 10000) / 28147497671.0656);
        c = static_cast<std::int64_t>(q) * 10000;
        x = t - static_cast<std::int64_t>(q) * 281474976710656;
        return (static_cast<double>(x) / 10000) / 28147497671.0656;
    }
    int Number() { return static_cast<int>(std::floor(NextUniform() * 49 + 1)); }
};

double DoubleLoop(std::uint64_t draws) {
    const std::array<int, 6> grid{7, 10, 14, 20, 30, 40};
    std::array<double, 7> tally{};
    const double rate = BestRate(static_cast<double>(draws), [&] {
        DoubleTranscription source;
        for (double k = 1; k <= static_cast<double>(draws); ++k) {
            std::array<int, 6> b{};
            for (int i = 0; i < 6; ++i) {
                bool repeat = true;
                while (repeat) {
                    b[i] = source.Number();
                    repeat = std::find(b.begin(), b.begin() + i, b[i]) != b.begin() + i;
                }
            }
            int count = 0;
            for (const int n : b) {
                count += std::find(grid.begin(), grid.end(), n) != grid.end() ? 1 : 0;
            }
            tally[count] += 1;
        }
    });
    g_checksum += static_cast<std::uint64_t>(tally[0]);
    return rate;
}

// (c) The project's draws one after another, on one stream.
double SerialLoop(std::uint64_t draws) {
    loto::Tally tally{};
    const double rate = BestRate(static_cast<double>(draws), [&] {
        GeneratorState state = loto::kSeedState;
        loto::DrawInto(state, draws, loto::NumberMask({7, 10, 14, 20, 30, 40}), tally);
    });
    g_checksum += tally[0];
    return rate;
}

// (e) The words of loto-sim --raw: a step and its 32-bit word.
double RawWords(std::uint64_t words) {
    GeneratorState state = loto::kSeedState;
    std::uint64_t sum = 0;
    const double rate = BestRate(static_cast<double>(words), [&] {
        for (std::uint64_t i = 0; i < words; ++i) {
            sum += loto::NextWord(state);
        }
    });
    g_checksum += sum;
    return rate;
}

// (d) The engine on one path of lanes, with `threads` threads.
double LaneEngine(const loto::LaneKernel& kernel, unsigned threads, std::uint64_t draws) {
    loto::ParallelDrawEngine engine(threads, loto::ParallelDrawEngine::kDefaultChunkValues, kernel);
    loto::test::IdlePump pump;
    loto::Tally tally{};
    const double rate = BestRate(static_cast<double>(draws), [&] {
        GeneratorState state = loto::kSeedState;
        (void)engine.Run(state, draws, loto::NumberMask({7, 10, 14, 20, 30, 40}), tally, pump);
    });
    g_checksum += tally[0];
    return rate;
}

}  // namespace

int main() {
    std::printf("Draw loop, one core, best of %d rounds\n", kRounds);
    const double a = GeneratorChain(400'000'000);
    std::printf(
        "(a) generator chain:        %12.0f values/s = %12.0f draws/s at %.1f values a draw\n", a,
        a / kValuesPerDraw, kValuesPerDraw);
    const double b = DoubleLoop(5'000'000);
    std::printf("(b) Double transcription:   %12.0f draws/s\n", b);
    const double c = SerialLoop(50'000'000);
    std::printf("(c) serial draw loop:       %12.0f draws/s\n", c);
    const double chain = a / kValuesPerDraw;
    std::printf("c/a = %.2f   c/b = %.2f (goal >= 4)\n", c / chain, c / b);
    std::printf("Lanes: the engine on one core, and on two against one\n");
    for (const loto::LanePath path :
         {loto::LanePath::Portable, loto::LanePath::Avx2, loto::LanePath::Avx512}) {
        const loto::LaneKernel* kernel = loto::FindLaneKernel(path);
        if (kernel == nullptr) {
            std::printf("(d) %-8s not on this processor\n", loto::LanePathName(path).data());
            continue;
        }
        const double one = LaneEngine(*kernel, 1, 200'000'000);
        const double two = LaneEngine(*kernel, 2, 400'000'000);
        // Without lanes one core is held to the serial loop's speed; with them, past the chain.
        const std::string goal = path == loto::LanePath::Portable
                                     ? Printf(">= c/a = %.2f", c / chain)
                                 : path == loto::LanePath::Avx2 ? std::string(">= 1.5")
                                                                : std::string(">= 2.68");
        std::printf(
            "(d) %-8s %u lanes: %12.0f draws/s, d/a = %.2f (goal %s); 2 threads "
            "%12.0f draws/s, %.2f x one (goal >= 1.9)\n",
            loto::LanePathName(path).data(), kernel->lanes, one, one / chain, goal.c_str(), two,
            two / one);
    }
    std::printf("(e) raw words:              %12.0f words/s\n", RawWords(400'000'000));
    std::printf("(checksum %llu)\n", static_cast<unsigned long long>(g_checksum));
    return 0;
}
