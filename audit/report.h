#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "audit/family.h"
#include "audit/history.h"
#include "audit/power.h"
#include "core/draw_rule.h"

namespace loto {

// A period of a history between two changes of its rules, by its first and last draws' dates (or
// numbers, without dates).
struct AuditPeriod {
    std::string from;
    std::string to;
};

// An audit as every front end shows it: what was audited, the family of tests, and what it says
// at a level.
struct AuditReport {
    std::string source;                // for people: the file, or the generator's streams
    Game game;                         // the pools, given or guessed
    bool guessed = false;              // K from the columns, N the greatest number seen
    std::optional<DrawRule> ticket{};  // the ticket tested, if one was
    std::uint64_t draws = 0;
    std::vector<BadLine> setAside{};
    std::string lineWord = "line";  // what a set-aside's number counts: a file's lines, or draws
    std::size_t files = 1;          // read as one history
    std::uint64_t repeated = 0;     // draws present in two files, kept once
    std::optional<AuditPeriod> period{};  // of a history whose rules change
    std::vector<AuditEntry> family{};     // adjusted
    std::vector<FaultPower> power{};      // what the family could have seen of the main pool
    double alpha = 0.01;

    [[nodiscard]] bool flagged() const noexcept { return Flagged(family, alpha); }
};

// The pools that a history shows: K the columns, N the greatest number seen.
[[nodiscard]] Game GuessedGame(const History& history, bool bonus) noexcept;

// Why a history cannot be audited at all, if it cannot: an audit that tests nothing is no
// success. A pool whose draws hold every number (N = K) shows nothing a test could tell apart.
enum class Untestable {
    NoDraw,       // none read
    AllSetAside,  // every line set aside
    EveryNumber,  // a pool's draws hold every number of it
};
struct UntestableHistory {
    Untestable why;
    int top = 0;  // the pool's N, with EveryNumber
};
[[nodiscard]] std::optional<UntestableHistory> WhyUntestable(const History& history) noexcept;

}  // namespace loto
