#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/audit_options.h"
#include "cli/exit_status.h"
#include "core/game.h"
#include "core/play.h"
#include "rules/lottery_rules.h"

namespace loto {

// loto-sim's command line, read once into the mode that it asks for and that mode's settings.

// What loto-sim prints of commands and audits: a table for people, JSON or CSV.
enum class Output { Text, Json, Csv };

// What every mode that draws or audits shares.
struct RunSettings {
    Output output = Output::Text;
    std::string locale;              // empty: the user's settings
    unsigned threads = 0;            // 0: every hardware thread
    std::uint64_t stream = 0;        // of the sequence from the seed, 2^40 values apart
    std::optional<std::string> svg;  // the chart's file, when one is asked for
};

// Commands, from the arguments (once or --repeat times) or the lines of --batch.
struct CommandSettings {
    RunSettings run;
    bool batch = false;
    std::vector<std::string> values;  // DRAWS, then the favourites or the ticket
    int repeat = 1;
    bool stats = false;  // the significance of the tallies
};

// The designed form's commands: 6/49 against six favourites, the window's texts.
struct FormMode {
    CommandSettings commands;
};

// Any game's commands, by tier, with what they cost and win and how long their tiers take;
// with a lottery's rules, their prizes shared and taxed, and the lottery played as a process.
struct GameMode {
    CommandSettings commands;
    Game game;
    PlayAsked play;
    int lifetimes = 0;  // lifetimes of DRAWS draws each, then their summary
    std::optional<LotteryRules> rules{};
    double jackpot = 0;        // cents: the rules' start, or --jackpot
    std::uint64_t rounds = 0;  // draws of the whole lottery after the commands
};

// The generator's words from the seed, for test batteries.
struct RawMode {
    std::optional<std::uint64_t> count;  // endless without
};

// A history of draws, or the generator's, audited.
struct AuditMode {
    RunSettings run;
    AuditOptions audit;
    std::optional<Game> game;
};

using Mode = std::variant<FormMode, GameMode, RawMode, AuditMode>;

// The mode of the command line, or the exit status when there is nothing to run (help, version,
// or a usage error already reported on standard error).
struct ParsedOptions {
    std::optional<Mode> mode;
    ExitStatus exitStatus = ExitStatus::Drew;
};

[[nodiscard]] ParsedOptions ParseOptions(int argc, char** argv);

}  // namespace loto
