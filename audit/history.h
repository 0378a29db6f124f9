#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/game.h"

namespace loto {

// One pool's draws in draw order: K numbers a draw, one byte each, so that a million draws of six
// numbers take 6 MB. A draw's numbers are distinct, from 1 to N (at most 255 in a history read from
// a file), in any order.
struct PoolHistory : Pool {
    std::vector<std::uint8_t> numbers;

    [[nodiscard]] std::size_t draws() const noexcept {
        return drawn > 0 ? numbers.size() / static_cast<std::size_t>(drawn) : 0;
    }
    [[nodiscard]] std::span<const std::uint8_t> Draw(std::size_t t) const noexcept {
        const auto k = static_cast<std::size_t>(drawn);
        return {numbers.data() + t * k, k};
    }
};

// A line that is no draw: unreadable, out of range or repeated numbers, a bad date, a missing
// column, a quote left open.
struct BadLine {
    std::uint64_t line;               // in the file, from 1
    std::vector<std::string> fields;  // as read, quotes undone
    std::string reason;               // "7.5 is not a whole number", "12 is repeated"
    std::string file{};               // of several files read as one, the file's name
};

// A column's text for each draw, as levels: a machine's name, a set of balls.
struct DrawLevels {
    std::string column;              // its header's name
    std::vector<std::string> names;  // each level's, in the order first seen
    std::vector<std::uint16_t> of;   // a draw's level
};

struct History {
    PoolHistory main;
    PoolHistory second;               // no numbers a draw without second columns
    std::vector<std::uint8_t> bonus;  // one a draw with a bonus column
    std::vector<std::int32_t> days;   // one a draw with a date column, from 1970-01-01
    DrawLevels levels;                // one a draw with a --by column
    std::vector<BadLine> setAside;    // with skipBad
    char delimiter = ',';
};

// The draws in date order, a stable sort: draws of one date keep their order.
void SortByDate(History& history);

// Histories of one game read from several files, as one, or why they cannot be: their draws
// merged by date where they have dates (a file's draws keep their order, and at one date the
// files' order), a draw present twice (the same date and numbers, in any order) kept once;
// without dates, one file after the other. `names` name the files in the reason.
struct MergedHistory {
    std::optional<History> history;
    std::uint64_t repeated = 0;  // draws kept once
    std::string fault{};
};
[[nodiscard]] MergedHistory MergeHistories(std::vector<History> parts,
                                           const std::vector<std::string>& names);

}  // namespace loto
