#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/audit_options.h"
#include "cli/exit_status.h"
#include "core/draw_rule.h"
#include "core/prize_input.h"

namespace loto {

// What loto-sim prints: the window's table, one JSON object or CSV lines per command, or the
// generator's words instead of commands.
enum class Output { Text, Json, Csv, Raw };
// Where the commands come from: the arguments, once or --repeat times, or the lines of a batch.
enum class Source { Arguments, Batch };

struct Mode {
    Output output = Output::Text;
    Source source = Source::Arguments;
};

struct Options {
    Mode mode;
    std::vector<std::string> boxes;      // with Arguments: DRAWS then G1 to G6 (or a ticket)
    std::optional<Game> game;            // any game, its outputs by tier; none: the window's
    int repeat = 1;                      // with Arguments
    unsigned threads = 0;                // 0: every hardware thread
    bool stats = false;                  // significance of the tallies
    std::string locale;                  // empty: the user's settings
    std::optional<std::string> svg;      // the chart's file, when one is asked for
    std::optional<std::uint64_t> count;  // of raw words; endless without
    std::uint64_t stream = 0;            // of the sequence from the seed, 2^40 values apart
    // What a ticket costs and pays, and how long its tiers take: any of them plays a game.
    std::optional<Cents> price;
    std::vector<PrizeArgument> prizes;
    std::optional<double> drawsPerWeek;
    std::optional<std::string> until;  // a tier's name, or "any"
    int lifetimes = 0;                 // lifetimes of DRAWS draws each, then their summary
    AuditOptions audit;                // a history of draws to audit instead of commands

    [[nodiscard]] bool money() const noexcept { return price || !prizes.empty(); }
    [[nodiscard]] bool waits() const noexcept {
        return money() || drawsPerWeek || until || lifetimes > 0;
    }
};

// The parsed command line, or the exit status when there is nothing to run (help, version, or a
// usage error already reported on standard error).
struct ParsedOptions {
    std::optional<Options> options;
    ExitStatus exitStatus = ExitStatus::Drew;
};

[[nodiscard]] ParsedOptions ParseOptions(int argc, char** argv);

}  // namespace loto
