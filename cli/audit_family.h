#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "cli/audit_battery.h"
#include "cli/history_csv.h"
#include "core/lottery.h"

namespace loto {

// The audit of a whole history: each pool's battery, the ticket's test, and the family of their
// p-values adjusted together.

enum class AuditPool { Main, Second };

// "main", "second".
[[nodiscard]] const char* PoolName(AuditPool pool) noexcept;

struct AuditEntry {
    TestResult test;
    AuditPool pool = AuditPool::Main;
    double holm = 1;  // the p-value adjusted for the whole family, once AdjustFamily has run
};

struct AuditSettings {
    std::uint64_t replicates = 1000;  // fair histories that calibrate the gaps; 0: none
    unsigned threads = 0;             // 0: every hardware thread
    std::optional<DrawRule> ticket;
};

// The main pool's battery, then the second pool's (when the history has one), then the ticket's
// test; the gaps of each pool calibrated on fair histories of their own family, 0 for the main
// pool and 1 for the second, so that both pools' p-values are fixed and apart.
[[nodiscard]] std::vector<AuditEntry> AuditHistory(const History& history,
                                                   const AuditSettings& settings);

// Each entry's p-value adjusted by Holm's step-down over the whole family, in place.
void AdjustFamily(std::vector<AuditEntry>& family);

// Whether some adjusted p-value is under alpha.
[[nodiscard]] bool Flagged(std::span<const AuditEntry> family, double alpha) noexcept;

}  // namespace loto
