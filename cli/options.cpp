#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string_view>

#include "cli/option_values.h"
#include "cli/refusal_text.h"
#include "core/draw_rule.h"
#include "core/game_input.h"
#include "core/generator_jump.h"
#include "core/play.h"
#include "core/six_of_forty_nine.h"
#include "loto_version.h"
#include "platform/quoted_text.h"
#include "rules/shared_money.h"

namespace loto {
namespace {

// Why an argument that starts with '-' is not one of `app`'s options, with the option that was
// likely meant.
std::string UnknownOption(const CLI::App& app, std::string_view name) {
    std::string message = "unknown option " + Quoted(name);
    if (name.size() > 1 && (std::isdigit(static_cast<unsigned char>(name[1])) || name[1] == '.')) {
        return message + "; a value starting with '-' goes after --: loto-sim -- " +
               std::string(name) + " ...";
    }
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& known : option->get_lnames()) {
            if (name.size() > 2 && ("--" + known).starts_with(name)) {
                return message + "; did you mean --" + known + "?";
            }
        }
    }
    return message;
}

// Why an option's value, typed after it or after '=', cannot be taken: a flag takes none, and a
// file name that starts with '-' is more likely an option forgotten after --svg.
std::optional<std::string> RefusedValue(const CLI::Option& option, std::string_view name,
                                        std::optional<std::string_view> value) {
    const bool flag = option.get_items_expected_max() == 0;
    if (flag && value) {
        return std::string(name) + " takes no value: " + Quoted(*value);
    }
    if (name == "--svg" && value && value->starts_with('-')) {
        return "--svg needs a FILE, not " + Quoted(*value) + "; a file of that name is ./" +
               PrintableText(*value);
    }
    return std::nullopt;
}

// CLI11 reads an unknown option as a value or counts it among the boxes, and echoes it raw: every
// argument that looks like an option is checked against `app`'s first, with its value.
std::optional<std::string> FindUnknownOption(const CLI::App& app, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const CLI::Option* option = app.get_option_no_throw(std::string(name));
        if (option == nullptr) {
            return UnknownOption(app, name);
        }
        std::optional<std::string_view> value;
        if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (option->get_items_expected_min() > 0 && i + 1 < argc) {
            value = argv[++i];
        }
        if (std::optional<std::string> refused = RefusedValue(*option, name, value)) {
            return refused;
        }
    }
    return std::nullopt;
}

// QLocale quietly turns a name it does not know into the C locale.
// An empty name is the user's settings, as no --locale at all.
std::string CheckLocaleName(const std::string& name) {
    if (name.empty()) {
        return {};
    }
    const std::string_view base = std::string_view(name).substr(0, name.find_first_of(".@"));
    const bool plain = base == "C" || base == "POSIX";
    if (!plain && QLocale(QString::fromStdString(name)).language() == QLocale::C) {
        return "unknown locale: " + Quoted(name);
    }
    return {};
}

// The arguments as CLI11 reads them, last first, each "--name=value" of an option that takes a
// value split in two: CLI11 alone reads "--svg=" as "--svg" and takes the next argument as its
// value, so that an empty variable in a script (--svg="$OUT") would run something else.
std::vector<std::string> SplitEquals(const CLI::App& app, int argc, char** argv) {
    std::vector<std::string> args;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const std::size_t equals = arg.find('=');
        const CLI::Option* option =
            optionsEnded || !arg.starts_with("--") || equals == std::string_view::npos
                ? nullptr
                : app.get_option_no_throw(std::string(arg.substr(0, equals)));
        optionsEnded = optionsEnded || arg == "--";
        if (option != nullptr && option->get_items_expected_min() > 0) {
            args.emplace_back(arg.substr(0, equals));
            args.emplace_back(arg.substr(equals + 1));
        } else {
            args.emplace_back(arg);
        }
    }
    std::reverse(args.begin(), args.end());
    return args;
}

ParsedOptions UsageError(const std::string& message) {
    std::cerr << "loto-sim: " << message << "\nRun with --help for more information.\n";
    return {std::nullopt, ExitStatus::Usage};
}

// The help or the version, printed: one that cannot be written is a failure, said on standard
// error, not a success with nothing said.
ParsedOptions Said(const CLI::App& app, const CLI::Error& call, const char* what) {
    const int status = app.exit(call);
    std::cout.flush();
    if (std::ferror(stdout) != 0 || !std::cout) {
        const int error = errno != 0 ? errno : EIO;
        std::cerr << "loto-sim: the " << what << " cannot be written: " << std::strerror(error)
                  << '\n';
        return {std::nullopt, ExitStatus::Failed};
    }
    return {std::nullopt, static_cast<ExitStatus>(status)};
}

// The values of a command: as many as a grid's boxes (or at least a number of draws and a ticket),
// said as CLI11 would say it of a positional of that many; none with a batch.
std::optional<std::string> ValuesRefused(const CommandSettings& commands, bool game) {
    const std::size_t count = commands.values.size();
    if (commands.batch) {
        return std::nullopt;
    }
    if (count == 0 || (game && count < 2)) {
        return game ? "expected DRAWS and a ticket (or --batch)"
                    : "expected DRAWS and six favourite numbers (or --batch)";
    }
    const std::size_t boxes = 1 + kFavouriteCount;
    if (!game && count != boxes) {
        return std::string("DRAWS G1 G2 G3 G4 G5 G6: ") +
               (count < boxes ? "At least " : "At Most ") + std::to_string(boxes) +
               " required but received " + std::to_string(count);
    }
    return std::nullopt;
}

ParsedOptions Checked(Mode mode, const CommandSettings& commands, bool game) {
    if (const std::optional<std::string> refused = ValuesRefused(commands, game)) {
        return UsageError(*refused);
    }
    return {std::move(mode), ExitStatus::Drew};
}

}  // namespace

ParsedOptions ParseOptions(int argc, char** argv) {
    CLI::App app{
        "Simulates draws of the Loto 6/49 from a fresh start, exactly as the window's first "
        "clicks on SIMULER do, and prints what the window shows.",
        "loto-sim"};
    app.footer(
        "Each value is taken as the text typed into the window's box: \"1 000 000\", \"12abc\" "
        "and an empty \"\" are read as the window reads them.\n"
        "Batch lines hold the seven texts separated by ';', draws first: 1000;7;10;14;20;30;40\n"
        "Ctrl-C stops the running command and prints what it drew so far.\n"
        "Exit status: 0 when every command ran its draws, 1 when a grid was refused, a number "
        "could not be read, the results could not be written or the input could not be read, 2 "
        "on a usage error, 130 or 143 when interrupted by SIGINT or SIGTERM, 141 when the reader "
        "of the output went away.");
    CommandSettings commands;
    RunSettings& run = commands.run;
    bool json = false;
    bool csv = false;
    bool raw = false;
    RawMode words;
    std::optional<Game> game;
    PlayAsked play;
    int lifetimes = 0;
    AuditOptions audit;
    app.set_version_flag("--version", "loto-sim " + std::string{kVersion});
    auto* repeat = AddWholeNumber<int>(
                       app, "--repeat", 1, 1'000'000, [&](int k) { commands.repeat = k; },
                       "Run K commands in a row, the generator carrying over")
                       ->option_text("K");
    auto* threads = AddWholeNumber<unsigned>(
                        app, "--threads", 0u, 1024u, [&](unsigned n) { run.threads = n; },
                        "Draw on N threads (default: every hardware thread); the results are the "
                        "same")
                        ->option_text("N");
    auto* batch =
        app.add_flag("--batch", commands.batch, "Read one command per line of standard input");
    auto* jsonFlag = app.add_flag("--json", json, "Print one JSON object per command");
    auto* csvFlag =
        app.add_flag("--csv", csv, "Print CSV: a header, then one line per k of each command")
            ->excludes(jsonFlag);
    auto* stats = app.add_flag("--stats", commands.stats,
                               "Add the z-score and exact binomial p-value of each row, and "
                               "Pearson's chi-square of the tally");
    auto* locale =
        app.add_option("--locale", run.locale, "Decimal separator and dates of this locale")
            ->option_text("NAME")
            ->check(CheckLocaleName, "locale name");
    auto* svg = app.add_option("--svg", run.svg,
                               "Write a chart of the result to FILE: observed against expected "
                               "counts, or, over several commands, the deviations against the "
                               "draws")
                    ->option_text("FILE");
    auto* rawFlag = app.add_flag("--raw", raw,
                                 "Write the generator's output from the seed as 32-bit "
                                 "little-endian words, floor(u x 2^32) of each uniform u, for "
                                 "test batteries");
    AddWholeNumber<std::uint64_t>(
        app, "--count", 0, UINT64_MAX, [&](std::uint64_t n) { words.count = n; },
        "With --raw: stop after N words")
        ->option_text("N")
        ->needs(rawFlag);
    auto* stream = AddWholeNumber<std::uint64_t>(
                       app, "--stream", 0, kLastStream, [&](std::uint64_t k) { run.stream = k; },
                       "Draw from stream K of the generator's sequence, K x 2^40 values after the "
                       "seed (0, the default, is the seed; the last is " +
                           std::to_string(kLastStream) + ")")
                       ->option_text("K");
    auto* gameOption =
        app.add_option_function<std::string>(
               "--game", [&game](const std::string& text) { game = ParseGame(text).game; },
               "Play the game GAME: K/N (K numbers drawn out of 1 to N), then +bonus (one more "
               "from the rest of the pool), then +M/Q (a second pool of M out of 1 to Q), such "
               "as 6/49+bonus, 5/50+2/12 or 20/70; the arguments are then DRAWS and a ticket of "
               "main numbers, with '+' and the second pool's after them, and every output goes "
               "by tier")
            ->option_text("GAME")
            ->check(CLI::Validator(
                [](const std::string& text) {
                    const ReadGame read = ParseGame(text);
                    return read.refusal ? RefusalText(*read.refusal) : std::string();
                },
                "", "game"));
    auto* price =
        app.add_option_function<std::string>(
               "--price", [&play](const std::string& text) { play.price = ReadAmount(text); },
               "The price of one ticket for one draw, such as 2.50 (a system ticket costs one "
               "for each of its combinations)")
            ->option_text("X")
            ->check(CLI::Validator(
                [](const std::string& text) -> std::string {
                    return ReadAmount(text) ? "" : Quoted(text) + " is not an amount";
                },
                "", "amount"));
    std::vector<std::string> prizeTexts;
    auto* prize =
        app.add_option("--prize", prizeTexts,
                       "What a tier of one ticket pays, such as 5+2=17000000; "
                       "repeatable, a tier without a prize pays nothing")
            ->option_text("TIER=AMOUNT")
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
            ->allow_extra_args(false)
            ->check(CLI::Validator(
                [](const std::string& text) {
                    Refusal refusal;
                    return ReadPrizeArgument(text, refusal) ? std::string() : RefusalText(refusal);
                },
                "", "prize"));
    auto* perWeek = AddDecimal(
                        app, "--draws-per-week", DrawsPerWeekAllowed,
                        [&play](double d) { play.drawsPerWeek = d; },
                        " is not a number of draws a week from 0.001 (one in a thousand weeks, "
                        "which keeps the years finite) to 10000",
                        "Give the waiting times in years too, at D draws a week")
                        ->option_text("D");
    auto* until = app.add_option("--until", play.until,
                                 "Draw until the ticket first hits TIER (or any tier with a "
                                 "prize), DRAWS being the bound; no speed test")
                      ->option_text("TIER");
    auto* lifetimesOption = AddWholeNumber<int>(
                                app, "--lifetimes", 1, 10'000'000, [&](int r) { lifetimes = r; },
                                "Play R lifetimes of DRAWS draws each, then summarise their nets")
                                ->option_text("R")
                                ->excludes(repeat)
                                ->excludes(batch)
                                ->excludes(until);
    std::optional<std::string> rulesFile;
    auto* rulesOption = app.add_option("--rules", rulesFile,
                                       "Play the lottery whose rules FILE says (JSON): its game, "
                                       "price, prizes, shared pools, jackpot and tax; the options "
                                       "given beside it override its values")
                            ->option_text("FILE");
    std::optional<Cents> jackpot;
    auto* jackpotOption =
        app.add_option_function<std::string>(
               "--jackpot", [&jackpot](const std::string& text) { jackpot = ReadAmount(text); },
               "With --rules: the jackpot now, instead of the file's")
            ->option_text("X")
            ->check(CLI::Validator(
                [](const std::string& text) -> std::string {
                    return ReadAmount(text) ? "" : Quoted(text) + " is not an amount";
                },
                "", "amount"))
            ->needs(rulesOption);
    std::uint64_t rounds = 0;
    auto* roundsOption =
        AddWholeNumber<std::uint64_t>(
            app, "--rounds", 1, 10'000'000'000ULL, [&](std::uint64_t r) { rounds = r; },
            "With --rules: after the commands, play R draws of the whole lottery, the jackpot "
            "growing, capped and won, against the last command's ticket")
            ->option_text("R")
            ->needs(rulesOption);
    auto* values = app.add_option("DRAWS G1 G2 G3 G4 G5 G6", commands.values,
                                  "The number of draws and the six favourite numbers (with "
                                  "--game, the ticket)")
                       ->expected(1, -1);
    AddAuditOptions(app, audit,
                    {batch, repeat, stats, rawFlag, values, price, prize, perWeek, until,
                     lifetimesOption, rulesOption, jackpotOption, roundsOption});
    batch->excludes(values)->excludes(repeat);
    // The raw words are the generator's alone: no command, no table, no chart.
    for (CLI::Option* other :
         {batch, jsonFlag, csvFlag, stats, locale, svg, repeat, threads, stream, values, gameOption,
          price, prize, perWeek, until, lifetimesOption, rulesOption}) {
        rawFlag->excludes(other);
    }
    if (const std::optional<std::string> unknown = FindUnknownOption(app, argc, argv)) {
        return UsageError(*unknown);
    }
    try {
        app.parse(SplitEquals(app, argc, argv));
    } catch (const CLI::CallForHelp& help) {
        return Said(app, help, "help");
    } catch (const CLI::CallForVersion& version) {
        return Said(app, version, "version");
    } catch (const CLI::ParseError& error) {
        return UsageError(PrintableText(error.what()));
    }
    if (run.svg && run.svg->empty()) {
        return UsageError("--svg: an empty file name");
    }
    run.output = json ? Output::Json : csv ? Output::Csv : Output::Text;
    if (raw) {
        return {words, ExitStatus::Drew};
    }
    if (const std::optional<std::string> refused =
            CheckAuditOptions(app, audit, game, run.stream)) {
        return UsageError(*refused);
    }
    if (audit.asked()) {
        return {AuditMode{.run = run, .audit = audit, .game = game}, ExitStatus::Drew};
    }
    for (const std::string& text : prizeTexts) {
        Refusal refusal;
        play.prizes.push_back(*ReadPrizeArgument(text, refusal));
    }
    std::optional<LotteryRules> rules;
    if (rulesFile) {
        const ReadRules read = ReadRulesFile(*rulesFile);
        if (!read.rules) {
            return UsageError("--rules " + Quoted(*rulesFile) + ": " + read.fault);
        }
        if (game && *game != read.rules->game) {
            return UsageError("--game: the rules are of " + GameName(read.rules->game));
        }
        rules = read.rules;
        game = rules->game;
        if (jackpot && !rules->jackpot) {
            return UsageError("--jackpot: the rules have no jackpot");
        }
        AskOfRules(*rules, jackpot, play);
    }
    play.untilAnyPrize = play.until == kAnyPrize;
    play.waits =
        play.price || !play.prizes.empty() || play.drawsPerWeek || play.until || lifetimes > 0;
    if (!game && !play.waits) {
        return Checked(FormMode{commands}, commands, false);
    }
    if (lifetimes > 0) {
        commands.repeat = lifetimes;  // a command a lifetime
    }
    // Money and waits play 6/49 by tier, as --game 6/49.
    const double jackpotCents = static_cast<double>(
        jackpot.value_or(rules && rules->jackpot ? rules->jackpot->start : Cents{0}));
    return Checked(GameMode{.commands = commands,
                            .game = game.value_or(kSixOfFortyNine),
                            .play = std::move(play),
                            .lifetimes = lifetimes,
                            .rules = std::move(rules),
                            .jackpot = jackpotCents,
                            .rounds = rounds},
                   commands, true);
}

}  // namespace loto
