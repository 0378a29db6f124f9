// The draws' speed on the processor at hand, measured side by side in one run against the bare
// chain of the generator (the limit of one serial stream): each path's kernel on one and two
// threads, and the whole program as a user runs it (loto-sim on 605 million draws, its speed
// test included), with the goals beside them. Prints figures and ratios; asserts nothing but that
// every path draws the same tally.
// Usage: loto-bench [LOTO_SIM]
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>
#include <string>

#include "bare_chain.h"
#include "core/draw_lanes.h"
#include "core/draws.h"
#include "core/parallel_engine.h"
#include "idle_pump.h"
#include "processor.h"

namespace {

using loto::GeneratorState;
using loto::LanePath;

constexpr double kValuesPerDraw = 6.3;  // six numbers and about 0.3 rejected candidates
constexpr int kRounds = 3;              // best of three: the machine is shared
constexpr loto::DrawRule kGrid =
    loto::SixOfFortyNineRule(loto::NumberMask({5, 15, 25, 35, 45, 49}));
// The whole program's run: 600,000,000 draws after a speed test of 5,000,000, and their tally.
constexpr const char* kBatchLine = "600000000;5;15;25;35;45;49";
constexpr double kProcessDraws = 605'000'000;
constexpr const char* kGoldenTally = "[261578436,247813005,79433005,10584158,580217,11132,47]";

// What each measurement computed, printed at the end so that no loop can be optimised away.
std::uint64_t g_checksum = 0;

// Best rate over a few rounds of `work`, which does `units` of work per call.
double BestRate(double units, int rounds, const std::function<void()>& work) {
    double best = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::max(best, units / took.count());
    }
    return best;
}

// (a) The bare chain (bare_chain.h).
double BareChain(std::uint64_t values) {
    std::uint64_t sum = 0;
    const double rate = BestRate(static_cast<double>(values), kRounds, [&] {
        std::uint64_t x = loto::kSeedState.x;
        std::uint64_t c = loto::kSeedState.c;
        sum += loto::bench::BareChain(x, c, values);
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
    const std::array<int, 6> grid{5, 15, 25, 35, 45, 49};
    std::array<double, 7> tally{};
    const double rate = BestRate(static_cast<double>(draws), kRounds, [&] {
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

// The engine on one path with `threads` threads: the draw loop alone, in memory.
double Kernel(const loto::LaneKernel& kernel, unsigned threads, std::uint64_t draws) {
    loto::ParallelDrawEngine engine(threads, loto::ParallelDrawEngine::kDefaultChunkValues, kernel);
    loto::test::IdlePump pump;
    loto::Tally tally{};
    const double rate = BestRate(static_cast<double>(draws), kRounds, [&] {
        GeneratorState state = loto::kSeedState;
        (void)engine.Run(state, draws, kGrid, tally, pump);
    });
    g_checksum += tally[0];
    return rate;
}

// (e) The words of loto-sim --raw: a step and its 32-bit word.
double RawWords(std::uint64_t words) {
    GeneratorState state = loto::kSeedState;
    std::uint64_t sum = 0;
    const double rate = BestRate(static_cast<double>(words), kRounds, [&] {
        for (std::uint64_t i = 0; i < words; ++i) {
            sum += loto::NextWord(state);
        }
    });
    g_checksum += sum;
    return rate;
}

struct Process {
    double rate = 0;
    std::string tally;  // its JSON "observed"
};

// loto-sim on the batch line, timed from its start to its end, as a user would; best of two.
Process WholeProcess(const std::string& lotoSim, LanePath path, unsigned threads) {
    const std::string command = "printf '" + std::string(kBatchLine) +
                                "\\n' | LOTO_LANES=" + std::string(loto::LanePathName(path)) + " " +
                                lotoSim + " --batch --json --threads " + std::to_string(threads);
    Process best;
    for (int round = 0; round < 2; ++round) {
        const auto start = std::chrono::steady_clock::now();
        FILE* pipe = popen(command.c_str(), "r");
        std::string out;
        std::array<char, 4096> buffer{};
        for (std::size_t n = 0; pipe && (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
            out.append(buffer.data(), n);
        }
        if (pipe) {
            pclose(pipe);
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const auto at = out.find("\"observed\":");
        const std::string tally =
            at == std::string::npos ? "" : out.substr(at + 11, out.find(']', at) - at - 10);
        if (kProcessDraws / took.count() > best.rate) {
            best = {kProcessDraws / took.count(), tally};
        }
    }
    return best;
}

// Each path's goal against the bare chain on one thread, whole process.
double Goal(LanePath path) {
    switch (path) {
        case LanePath::Portable:
            return 0.70;
        case LanePath::Avx2:
            return 1.5;
        case LanePath::Avx512:
        case LanePath::Avx512Ifma:
            return 2.6;
        default:
            return 0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<std::string> lotoSim =
        argc > 1 ? std::optional<std::string>(argv[1]) : std::nullopt;
    std::printf("%s; lanes chosen: %s\n", loto::test::Processor().c_str(),
                loto::LanePathName(loto::ActiveLaneKernel().path).data());
    const double chain = BareChain(600'000'000) / kValuesPerDraw;
    std::printf("One thread, best of %d; (a) the bare chain, the limit of one serial stream:\n",
                kRounds);
    std::printf("  (a) bare chain           %12.0f draws/s at %.1f values a draw   1.00\n", chain,
                kValuesPerDraw);
    std::printf("  (b) Double transcription %12.0f draws/s\n", DoubleLoop(5'000'000));
    std::printf("  (e) raw words            %12.0f words/s\n", RawWords(400'000'000));
    std::printf("%-10s %5s %14s %7s %16s %7s %6s %13s %6s %6s\n", "path", "lanes", "kernel draws/s",
                "x (a)", "process draws/s", "x (a)", "goal", "2 threads", "x one", "goal");
    bool same = true;
    for (const LanePath path :
         {LanePath::Portable, LanePath::Avx2, LanePath::Avx512, LanePath::Avx512Ifma}) {
        const loto::LaneKernel* kernel = loto::FindLaneKernel(path);
        if (kernel == nullptr) {
            std::printf("%-10s not on this processor\n", loto::LanePathName(path).data());
            continue;
        }
        const double one = Kernel(*kernel, 1, 300'000'000);
        std::printf("%-10s %5u %14.0f %7.2f", loto::LanePathName(path).data(), kernel->lanes, one,
                    one / chain);
        if (lotoSim) {
            const Process single = WholeProcess(*lotoSim, path, 1);
            const Process pair = WholeProcess(*lotoSim, path, 2);
            same = same && single.tally == kGoldenTally && pair.tally == kGoldenTally;
            std::printf(" %16.0f %7.2f %6.2f %13.0f %6.2f %6.2f\n", single.rate,
                        single.rate / chain, Goal(path), pair.rate, pair.rate / single.rate, 1.85);
        } else {
            const double two = Kernel(*kernel, 2, 600'000'000);
            std::printf(" %16s %7s %6.2f %13.0f %6.2f %6.2f\n", "-", "-", Goal(path), two,
                        two / one, 1.85);
        }
    }
    if (lotoSim) {
        std::printf("The tally of the 605,000,000 draws, every path, one and two threads: %s\n",
                    same ? "the same, the golden one" : "NOT THE SAME");
    }
    std::printf("(checksum %llu)\n", static_cast<unsigned long long>(g_checksum));
    return same ? 0 : 1;
}
