#include "audit/family.h"

#include <algorithm>
#include <cmath>

#include "audit/fair_histories.h"
#include "audit/levels.h"
#include "audit/stream_pair.h"
#include "audit/ticket.h"

namespace loto {
namespace {

const PoolHistory& Pool(const History& history, AuditPool pool) {
    return pool == AuditPool::Main ? history.main : history.second;
}

void AddPool(const PoolHistory& pool, AuditPool name, std::vector<AuditEntry>& family) {
    for (TestResult& result : RunBattery(pool)) {
        family.push_back({std::move(result), name});
    }
}

// Draw t of one stream against draw t of the other, pool by pool.
void AddStreamTests(const History& one, const History& other, std::vector<AuditEntry>& family) {
    for (const AuditPool name : {AuditPool::Main, AuditPool::Second}) {
        for (TestResult& result : StreamPairTests(Pool(one, name), Pool(other, name))) {
            family.push_back({std::move(result), name});
        }
    }
}

// The gaps' p-values from fair histories, once the family's size, which sets the levels that
// decide the audit, is known: Holm compares the smallest p-value with alpha / m, the next with
// alpha / (m - 1), and so on up to alpha.
void CalibrateGaps(std::vector<AuditEntry>& family, const History& history,
                   const AuditSettings& settings) {
    if (settings.replicates == std::optional<std::uint64_t>{0}) {
        return;
    }
    GapCalibration calibration{
        .source = {}, .threads = settings.threads, .pump = settings.pump, .peers = settings.peers};
    if (settings.replicates) {
        calibration.replicates = calibration.most = *settings.replicates;
    } else {
        calibration.most = kMostCalibration;
        calibration.replicates =
            std::min(HistoriesToReach(family.size(), settings.alpha), kMostCalibration);
    }
    for (std::size_t j = 1; j <= family.size(); ++j) {
        calibration.levels.push_back(settings.alpha / static_cast<double>(j));
    }
    for (AuditEntry& entry : family) {
        if (entry.test.name != "gaps") {
            continue;
        }
        const PoolHistory& pool = Pool(history, entry.pool);
        calibration.family = static_cast<std::uint64_t>(entry.pool);
        calibration.source = FairHistories(calibration.family);
        entry.test.calibrated =
            Calibrate(GapChiSquare(pool), entry.test.statistic, pool, calibration);
        entry.test.pValue = entry.test.calibrated->p;
        if (entry.test.calibrated->stopped) {
            return;
        }
    }
}

}  // namespace

bool Stopped(std::span<const AuditEntry> family) noexcept {
    return std::any_of(family.begin(), family.end(), [](const AuditEntry& entry) {
        return entry.test.calibrated && entry.test.calibrated->stopped;
    });
}

const char* PoolName(AuditPool pool) noexcept {
    return pool == AuditPool::Main ? "main" : "second";
}

std::uint64_t HistoriesToReach(std::size_t tests, double alpha) noexcept {
    const auto m = static_cast<double>(tests);
    auto least = static_cast<std::uint64_t>(std::min(std::floor(m / alpha), 1e15));
    if (m / static_cast<double>(least + 1) >= alpha) {
        ++least;  // rounding left it one short
    }
    return std::max(kFewestCalibration, least);
}

std::vector<AuditEntry> AuditHistory(const History& history, const AuditSettings& settings,
                                     const History* beside) {
    std::vector<AuditEntry> family;
    // A game without a second pool has an empty one, in which no test can be formed.
    AddPool(history.main, AuditPool::Main, family);
    AddPool(history.second, AuditPool::Second, family);
    if (!history.levels.of.empty()) {
        for (TestResult& result : LevelTests(history.main, history.levels)) {
            family.push_back({std::move(result), AuditPool::Main});
        }
    }
    if (settings.ticket) {
        if (std::optional<TestResult> ticket = TicketTest(history, *settings.ticket)) {
            family.push_back({std::move(*ticket), AuditPool::Main});
        }
    }
    if (beside != nullptr) {
        AddStreamTests(history, *beside, family);
    }
    CalibrateGaps(family, history, settings);
    AdjustFamily(family);
    return family;
}

void AdjustFamily(std::vector<AuditEntry>& family) {
    std::vector<double> p;
    for (const AuditEntry& entry : family) {
        p.push_back(entry.test.pValue);
    }
    const std::vector<double> adjusted = HolmAdjusted(p);
    for (std::size_t i = 0; i < family.size(); ++i) {
        family[i].holm = adjusted[i];
    }
}

bool Flagged(std::span<const AuditEntry> family, double alpha) noexcept {
    return std::any_of(family.begin(), family.end(),
                       [&](const AuditEntry& entry) { return entry.holm < alpha; });
}

}  // namespace loto
