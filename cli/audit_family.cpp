#include "cli/audit_family.h"

#include <algorithm>

#include "cli/audit_ticket.h"
#include "cli/fair_histories.h"

namespace loto {
namespace {

void AddPool(const PoolHistory& pool, AuditPool name, const AuditSettings& settings,
             std::vector<AuditEntry>& family) {
    const GapCalibration calibration{FairHistories(static_cast<std::uint64_t>(name)),
                                     settings.replicates, settings.threads};
    for (TestResult& result : RunBattery(pool, &calibration)) {
        family.push_back({std::move(result), name});
    }
}

}  // namespace

const char* PoolName(AuditPool pool) noexcept {
    return pool == AuditPool::Main ? "main" : "second";
}

std::vector<AuditEntry> AuditHistory(const History& history, const AuditSettings& settings) {
    std::vector<AuditEntry> family;
    AddPool(history.main, AuditPool::Main, settings, family);
    if (history.second.drawn > 0) {
        AddPool(history.second, AuditPool::Second, settings, family);
    }
    if (settings.ticket) {
        if (std::optional<TestResult> ticket = TicketTest(history, *settings.ticket)) {
            family.push_back({std::move(*ticket), AuditPool::Main});
        }
    }
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
