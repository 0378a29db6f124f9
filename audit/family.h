#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "audit/battery.h"
#include "audit/gaps.h"
#include "audit/history.h"
#include "core/draw_rule.h"
#include "platform/event_pump.h"

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
    // Fair histories that calibrate the gaps: that many, 0 for none; by default, enough for a
    // calibrated p-value to reach alpha once adjusted, and more while its interval holds one of
    // Holm's levels, up to kMostCalibration in all.
    std::optional<std::uint64_t> replicates;
    double alpha = 0.01;
    unsigned threads = 0;  // 0: every hardware thread
    std::optional<DrawRule> ticket;
    EventPump* pump = nullptr;  // runs during the calibrations, which stop when it says so
    CalibrationPeers* peers = nullptr;  // that share the calibrations
};

// The most fair histories of a calibration by default, whatever alpha asks for.
inline constexpr std::uint64_t kMostCalibration = 100'000;
inline constexpr std::uint64_t kFewestCalibration = 1000;

// The fair histories that a calibrated p-value needs to fall below alpha once adjusted by Holm
// over `tests`: its least, 1/(R + 1), times `tests`, under alpha.
[[nodiscard]] std::uint64_t HistoriesToReach(std::size_t tests, double alpha) noexcept;

// The main pool's battery, then the second pool's (when the history has one), then the ticket's
// test, then, with a history `beside`, the two streams' tests; the gaps of each pool calibrated on
// fair histories of their own family, 0 for the main pool and 1 for the second, so that both
// pools' p-values are fixed and apart; every p-value adjusted by Holm over the whole family.
[[nodiscard]] std::vector<AuditEntry> AuditHistory(const History& history,
                                                   const AuditSettings& settings,
                                                   const History* beside = nullptr);

// Each entry's p-value adjusted by Holm's step-down over the whole family, in place.
void AdjustFamily(std::vector<AuditEntry>& family);

// Whether the pump stopped a calibration: the family's p-values are then not all there.
[[nodiscard]] bool Stopped(std::span<const AuditEntry> family) noexcept;

// Whether some adjusted p-value is under alpha.
[[nodiscard]] bool Flagged(std::span<const AuditEntry> family, double alpha) noexcept;

}  // namespace loto
