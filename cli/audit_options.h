#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audit/history_csv.h"
#include "core/draw_rule.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace loto {

// What --audit FILE and --audit-generator N are asked, as typed.
struct AuditOptions {
    std::vector<std::string> files;               // a history of draws, "-" for standard input
    std::optional<std::uint64_t> generatorDraws;  // draws of the program's own generator
    std::optional<std::string> columns;           // the main numbers' columns, "a,b,c"
    std::optional<std::string> second;            // a second pool's columns
    std::optional<std::string> bonus;             // a bonus's column
    std::optional<std::string> date;              // the column that orders the draws
    std::optional<std::string> by;                // a machine's or a ball set's column
    std::optional<std::string> dateFormat;        // how slashed dates are written
    std::optional<std::int32_t> from;             // the first day audited, from 1970-01-01
    std::optional<std::int32_t> to;               // the last
    bool skipBad = false;
    // Fair histories for the calibrated p-values: that many (0: none), or by default as many as
    // the audit needs.
    std::optional<std::uint64_t> calibrate;
    double alpha = 0.01;                // the level at which the family flags
    std::optional<std::string> ticket;  // its numbers, "1 2 3 4 5 6" or "1,2,3 + 4"

    [[nodiscard]] bool asked() const noexcept { return !files.empty() || generatorDraws; }
};

// The most fair histories that --calibrate takes.
inline constexpr std::uint64_t kMostCalibrate = 10'000'000;

// The largest run of --audit-generator: its draws are held in memory, a byte a number.
inline constexpr std::uint64_t kMostGeneratorDraws = 100'000'000;

// Adds the audit's options to loto-sim's, which exclude the options of commands given.
void AddAuditOptions(CLI::App& app, AuditOptions& audit,
                     std::initializer_list<CLI::Option*> commandsOnly);

// Once the command line is parsed: why the audit's options cannot run together, if they cannot.
// With --game, the columns must be those of its pools.
[[nodiscard]] std::optional<std::string> CheckAuditOptions(const CLI::App& app,
                                                           const AuditOptions& audit,
                                                           const std::optional<Game>& game,
                                                           std::uint64_t stream);

// --from and --to's days: 2015-10-10, 20151010 or 10-Oct-2015, from 1970-01-01.
[[nodiscard]] std::optional<std::int32_t> ReadBoundDay(std::string_view text);

// A ticket's values as a command's are typed, separated by blanks or commas: "1 2 3 + 4".
[[nodiscard]] std::vector<std::string_view> TicketValues(std::string_view text);

}  // namespace loto
