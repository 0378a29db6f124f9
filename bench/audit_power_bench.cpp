// The audit's power and size on the processor at hand: for each known fault, the draws of 6/49 at
// which the family of tests, Holm-adjusted, flags at least 90 of 100 faulty histories at 0.01; and
// the share of 1,000 fair histories that it flags, against its level and the binomial margin, with
// each test's own share under the level. Prints figures; asserts nothing.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "cli/audit_family.h"
#include "processor.h"
#include "tests/support/faulty_histories.h"

namespace {

using loto::test::Fault;

constexpr double kAlpha = 0.01;
constexpr int kFaultyHistories = 100;
constexpr int kWanted = 90;
constexpr int kFairHistories = 1000;
constexpr std::uint64_t kFairDraws = 2000;
constexpr std::uint64_t kSizeReplicates = 1000;  // as loto-sim's default
// For the faulty histories: enough to make the gaps' p-value, not to let it flag alone.
constexpr std::uint64_t kPowerReplicates = 99;

std::vector<loto::AuditEntry> Audit(const loto::PoolHistory& pool, std::uint64_t replicates) {
    loto::History history;
    history.main = pool;
    std::vector<loto::AuditEntry> family =
        loto::AuditHistory(history, {.replicates = replicates, .threads = 0, .ticket = {}});
    loto::AdjustFamily(family);
    return family;
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
        const std::vector<loto::AuditEntry> family = Audit(pool, kSizeReplicates);
        flagged += loto::Flagged(family, kAlpha) ? 1 : 0;
        for (const loto::AuditEntry& entry : family) {
            under[entry.test.name] += entry.test.pValue < kAlpha ? 1 : 0;
        }
    }
    const double margin = 3 * std::sqrt(kFairHistories * kAlpha * (1 - kAlpha));
    std::printf(
        "fair histories of %llu draws, gaps calibrated on %llu: %d of %d flagged "
        "(%.2f %%; alpha %.0f %% plus 3 binomial sd: at most %.0f) [%.0f s]\n",
        static_cast<unsigned long long>(kFairDraws),
        static_cast<unsigned long long>(kSizeReplicates), flagged, kFairHistories,
        100.0 * flagged / kFairHistories, 100 * kAlpha, kFairHistories * kAlpha + margin,
        Seconds(start));
    std::printf("  each test's p-value under %g, unadjusted:", kAlpha);
    for (const auto& [name, count] : under) {
        std::printf(" %s %d,", name.c_str(), count);
    }
    std::printf(" of %d\n", kFairHistories);
}

}  // namespace

int main() {
    std::printf("%s\naudit of 6/49 at alpha = %g, Holm over the family\n",
                loto::test::Processor().c_str(), kAlpha);
    for (const Fault fault : {Fault::kHeavyNumber, Fault::kGluedPair, Fault::kRepeat}) {
        Power(fault);
        std::fflush(stdout);
    }
    Size();
}
