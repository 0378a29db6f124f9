#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audit/family.h"
#include "audit/history.h"
#include "core/draw_rule.h"

namespace loto {

// An audit as loto-sim prints it: what was audited, the family of tests and what it says at a
// level.
struct AuditReport {
    std::string source;                // for people: the file, or the generator's streams
    Game game;                         // the pools, given or guessed
    std::optional<std::string> guess;  // why the pools are guessed, when they are
    std::optional<DrawRule> ticket;    // the ticket tested, if one was
    std::uint64_t draws = 0;
    std::vector<BadLine> setAside;
    std::string lineWord = "line";   // what a set-aside's number counts: a file's lines, or draws
    std::vector<AuditEntry> family;  // adjusted
    double alpha = 0.01;

    [[nodiscard]] bool flagged() const noexcept { return Flagged(family, alpha); }
};

// For people, in the forms of the user's locale: the tests as a table, the corrections they
// carry, and a last line that says whether anything is unlikely at the level, and what that does
// not mean.
[[nodiscard]] std::string AuditText(const AuditReport& report, std::string_view separator);

// One object: "draws", "game", "ticket", "set_aside", "tests" and "flagged".
[[nodiscard]] nlohmann::json AuditJson(const AuditReport& report);

// A header line, then one line a test.
[[nodiscard]] std::string AuditCsv(const AuditReport& report);

}  // namespace loto
