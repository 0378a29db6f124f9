// Draws per second of the multi-threaded draw loop with 1, 2 and all hardware threads, measured
// side by side in one run, against the sequential loop. Prints figures; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "core/parallel_engine.h"
#include "idle_pump.h"

namespace {

constexpr std::uint64_t kDraws = 60'000'000;
constexpr int kRounds = 3;  // best of three: the machine is shared
constexpr loto::DrawRule kGrid =
    loto::SixOfFortyNineRule(loto::NumberMask({7, 10, 14, 20, 30, 40}));

template <class Work>
double BestRate(Work work) {
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::max(best, static_cast<double>(kDraws) / took.count());
    }
    return best;
}

double Sequential() {
    return BestRate([&] {
        loto::GeneratorState state = loto::kSeedState;
        loto::Tally tally{};
        loto::DrawInto(state, kDraws, kGrid, tally);
    });
}

double Parallel(unsigned threads) {
    loto::ParallelDrawEngine engine(threads);
    loto::test::IdlePump pump;
    return BestRate([&] {
        loto::GeneratorState state = loto::kSeedState;
        loto::Tally tally{};
        (void)engine.Run(state, kDraws, kGrid, tally, pump);
    });
}

}  // namespace

int main() {
    const unsigned all = std::max(1u, std::thread::hardware_concurrency());
    std::printf("Multi-threaded draw loop, %llu draws, best of %d, %u hardware threads\n",
                static_cast<unsigned long long>(kDraws), kRounds, all);
    const double sequential = Sequential();
    const double one = Parallel(1);
    const double two = Parallel(2);
    std::printf("  sequential loop:   %12.0f draws/s\n", sequential);
    std::printf("  1 thread:          %12.0f draws/s\n", one);
    std::printf(
        "  2 threads:         %12.0f draws/s  ratio to 1 thread %.2f (goal >= 1.8), "
        "to the sequential loop %.2f\n",
        two, two / one, two / sequential);
    if (all > 2) {
        const double every = Parallel(all);
        std::printf("  %u threads:        %12.0f draws/s  ratio to 1 thread %.2f\n", all, every,
                    every / one);
    }
    return 0;
}
