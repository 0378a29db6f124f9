// The audit's power and size on the processor at hand: for each known fault, the draws of 6/49 at
// which the family of tests, Holm-adjusted, flags at least 90 of 100 faulty histories at 0.01; and
// the share of 1,000 fair histories that it flags, against its level and the binomial margin, with
// each test's own share under the level; and, given loto-sim's path, its run on a million fair
// draws of 6/49 in a CSV file, calibrations included: the time and the peak memory. Prints
// figures; asserts nothing.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "audit/family.h"
#include "audit/faulty_histories.h"
#include "audit/power.h"
#include "processor.h"

namespace {

using loto::AuditPower;
using loto::Fault;
using loto::FaultPower;

constexpr double kAlpha = 0.01;
constexpr int kFaultyHistories = 100;
constexpr int kWanted = 90;
constexpr int kFairHistories = 1000;
constexpr std::uint64_t kFairDraws = 2000;
// For the faulty histories: enough to make the gaps' p-value, not to let it flag alone; the fair
// ones are calibrated as loto-sim calibrates by default.
constexpr std::uint64_t kPowerReplicates = 99;

std::vector<loto::AuditEntry> Audit(const loto::PoolHistory& pool,
                                    std::optional<std::uint64_t> replicates) {
    loto::History history;
    history.main = pool;
    return loto::AuditHistory(
        history, {.replicates = replicates, .alpha = kAlpha, .threads = 0, .ticket = {}});
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The first draws of the grid at which kWanted of kFaultyHistories are flagged, and the test that
// flagged them most often.
void Power(Fault fault) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::uint64_t draws : {500, 1000, 1500, 2000, 3000, 4000, 5000, 7000, 10000, 15000,
                                      20000, 30000, 40000, 50000, 70000, 100000}) {
        int flagged = 0;
        std::map<std::string, int> by;
        for (int h = 0; h < kFaultyHistories; ++h) {
            const auto pool = FaultyHistory(fault, 6, 49, draws, 1000 + static_cast<unsigned>(h));
            const std::vector<loto::AuditEntry> family = Audit(pool, kPowerReplicates);
            flagged += loto::Flagged(family, kAlpha) ? 1 : 0;
            for (const loto::AuditEntry& entry : family) {
                by[entry.test.name] += entry.holm < kAlpha ? 1 : 0;
            }
        }
        if (flagged >= kWanted) {
            std::string tests;
            for (const auto& [name, count] : by) {
                if (count > 0) {
                    tests += (tests.empty() ? "" : ", ") + name + " " + std::to_string(count);
                }
            }
            std::printf("%-62s %7llu draws: %3d of %d flagged (%s) [%.0f s]\n", FaultName(fault),
                        static_cast<unsigned long long>(draws), flagged, kFaultyHistories,
                        tests.c_str(), Seconds(start));
            return;
        }
    }
    std::printf("%-62s not flagged within 100000 draws\n", FaultName(fault));
}

void Size() {
    const auto start = std::chrono::steady_clock::now();
    int flagged = 0;
    std::map<std::string, int> under;
    for (int h = 0; h < kFairHistories; ++h) {
        const auto pool =
            FaultyHistory(Fault::kNone, 6, 49, kFairDraws, 5000 + static_cast<unsigned>(h));
        const std::vector<loto::AuditEntry> family = Audit(pool, std::nullopt);
        flagged += loto::Flagged(family, kAlpha) ? 1 : 0;
        for (const loto::AuditEntry& entry : family) {
            under[entry.test.name] += entry.test.pValue < kAlpha ? 1 : 0;
        }
    }
    const double margin = 3 * std::sqrt(kFairHistories * kAlpha * (1 - kAlpha));
    std::printf(
        "fair histories of %llu draws, gaps calibrated as loto-sim's default: %d of %d flagged "
        "(%.2f %%; alpha %.0f %% plus 3 binomial sd: at most %.0f) [%.0f s]\n",
        static_cast<unsigned long long>(kFairDraws), flagged, kFairHistories,
        100.0 * flagged / kFairHistories, 100 * kAlpha, kFairHistories * kAlpha + margin,
        Seconds(start));
    std::printf("  each test's p-value under %g, unadjusted:", kAlpha);
    for (const auto& [name, count] : under) {
        std::printf(" %s %d,", name.c_str(), count);
    }
    std::printf(" of %d\n", kFairHistories);
}

// The power lines of an audit of 2,000 draws of 6/49: their figures and the time they take.
void PowerLines() {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<FaultPower> power =
        AuditPower({.drawn = 6, .top = 49, .draws = 2000, .tests = 9, .alpha = kAlpha});
    const double seconds = Seconds(start);
    std::printf("the power lines of an audit of 2000 draws of 6/49 in %.2f s (goal: under 1 s):",
                seconds);
    for (const FaultPower& fault : power) {
        std::printf(" %s flagged %.0f %%, 90 %% from a bias of %s;", FaultName(fault.fault),
                    fault.flagged * 100,
                    fault.bias90 ? std::to_string(*fault.bias90).substr(0, 5).c_str() : "none");
    }
    std::printf("\n");
}

// A million fair draws written as a spreadsheet would, then loto-sim --audit on them as a user
// runs it, with the default calibration: the wall time, and the peak resident memory of the
// largest process that it waited for.
void MillionDraws(const std::string& lotoSim) {
    constexpr std::size_t kDraws = 1'000'000;
    const std::string path = "/tmp/loto-audit-bench-" + std::to_string(getpid()) + ".csv";
    {
        const auto pool = FaultyHistory(Fault::kNone, 6, 49, kDraws, 77);
        std::ofstream file(path, std::ios::binary);
        file << "n1,n2,n3,n4,n5,n6\n";
        for (std::size_t t = 0; t < kDraws; ++t) {
            const auto draw = pool.Draw(t);
            for (std::size_t i = 0; i < draw.size(); ++i) {
                file << static_cast<int>(draw[i]) << (i + 1 < draw.size() ? ',' : '\n');
            }
        }
    }
    const std::string command =
        lotoSim + " --audit " + path + " --columns n1,n2,n3,n4,n5,n6 --game 6/49 >/dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds = Seconds(start);
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    std::remove(path.c_str());
    std::printf(
        "loto-sim --audit on a CSV of %zu draws, calibrated by default: %.1f s, peak %.0f MB"
        "%s\n",
        kDraws, seconds, static_cast<double>(usage.ru_maxrss) / 1024,
        status == 0 ? "" : " (FAILED)");
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("%s\naudit of 6/49 at alpha = %g, Holm over the family\n",
                loto::test::Processor().c_str(), kAlpha);
    for (const Fault fault : {Fault::kHeavyNumber, Fault::kGluedPair, Fault::kRepeat}) {
        Power(fault);
        std::fflush(stdout);
    }
    Size();
    PowerLines();
    if (argc > 1) {
        MillionDraws(argv[1]);
    }
}
