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

#include "cli/refusal_text.h"
#include "core/draw_rule.h"
#include "core/game_input.h"
#include "core/generator_jump.h"
#include "core/play_figures.h"
#include "core/six_of_forty_nine.h"
#include "loto_version.h"
#include "platform/quoted_text.h"

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

// The options that play a game (--game, and those of money and waiting times, which play 6/49
// without it): the arguments after them are then a ticket.
constexpr std::string_view kGameOptions[] = {"--game",           "--price", "--prize",
                                             "--draws-per-week", "--until", "--lifetimes"};

bool AsksForAGame(int argc, char** argv) {
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        const std::string_view arg = argv[i];
        for (const std::string_view option : kGameOptions) {
            if (arg == option || (arg.starts_with(option) && arg.substr(option.size(), 1) == "=")) {
                return true;
            }
        }
    }
    return false;
}

// A number of draws a week, read in the C locale's forms.
std::optional<double> DrawsPerWeek(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || stop != end || error != std::errc{} || !DrawsPerWeekAllowed(value)) {
        return std::nullopt;
    }
    return value;
}

// A whole number written as decimal digits alone, as `Number`; none for any other text.
template <typename Number>
std::optional<Number> Decimal(const std::string& text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || text[0] == '-' || text[0] == '+' || stop != end || error != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

// A whole number from `low` to `high`, written as digits alone.
template <typename Number>
CLI::Validator WholeNumber(Number low, Number high) {
    return CLI::Validator(
        [low, high](const std::string& text) -> std::string {
            if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
                return Quoted(text) + " is not a whole number";
            }
            const std::optional<Number> value = Decimal<Number>(text);
            if (!value || *value < low || *value > high) {
                return Quoted(text) + " is not in range " + std::to_string(low) + " to " +
                       std::to_string(high);
            }
            return {};
        },
        "", "whole number");
}

// An option whose value is a whole number from `low` to `high`, read in decimal: CLI11's own
// conversion takes a leading 0 for octal and 0x for hexadecimal.
template <typename Target, typename Number>
CLI::Option* AddWholeNumber(CLI::App& app, const std::string& name, Target& target, Number low,
                            Number high, const std::string& description) {
    return app
        .add_option_function<std::string>(
            name, [&target](const std::string& text) { target = *Decimal<Number>(text); },
            description)
        ->check(WholeNumber(low, high));
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
std::vector<std::string> SplitValues(const CLI::App& app, int argc, char** argv) {
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

// The one place where the flags become a mode; CLI11 has refused the ones that exclude each other.
struct Flags {
    bool batch = false;
    bool json = false;
    bool csv = false;
    bool raw = false;
};

Mode ChooseMode(const Flags& flags) {
    const Output output = flags.raw    ? Output::Raw
                          : flags.json ? Output::Json
                          : flags.csv  ? Output::Csv
                                       : Output::Text;
    return {output, flags.batch ? Source::Batch : Source::Arguments};
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
    Options options;
    Flags flags;
    app.set_version_flag("--version", "loto-sim " + std::string{kVersion});
    auto* repeat = AddWholeNumber(app, "--repeat", options.repeat, 1, 1'000'000,
                                  "Run K commands in a row, the generator carrying over")
                       ->option_text("K");
    auto* threads = AddWholeNumber(app, "--threads", options.threads, 0u, 1024u,
                                   "Draw on N threads (default: every hardware thread); the "
                                   "results are the same")
                        ->option_text("N");
    auto* batch =
        app.add_flag("--batch", flags.batch, "Read one command per line of standard input");
    auto* json = app.add_flag("--json", flags.json, "Print one JSON object per command");
    auto* csv =
        app.add_flag("--csv", flags.csv, "Print CSV: a header, then one line per k of each command")
            ->excludes(json);
    auto* stats = app.add_flag("--stats", options.stats,
                               "Add the z-score and exact binomial p-value of each row, and "
                               "Pearson's chi-square of the tally");
    auto* locale =
        app.add_option("--locale", options.locale, "Decimal separator and dates of this locale")
            ->option_text("NAME")
            ->check(CheckLocaleName, "locale name");
    auto* svg = app.add_option("--svg", options.svg,
                               "Write a chart of the result to FILE: observed against expected "
                               "counts, or, over several commands, the deviations against the "
                               "draws")
                    ->option_text("FILE");
    auto* raw = app.add_flag("--raw", flags.raw,
                             "Write the generator's output from the seed as 32-bit little-endian "
                             "words, floor(u x 2^32) of each uniform u, for test batteries");
    AddWholeNumber(app, "--count", options.count, std::uint64_t{0}, UINT64_MAX,
                   "With --raw: stop after N words")
        ->option_text("N")
        ->needs(raw);
    auto* stream = AddWholeNumber(app, "--stream", options.stream, std::uint64_t{0}, kLastStream,
                                  "Draw from stream K of the generator's sequence, K x 2^40 "
                                  "values after the seed (0, the default, is the seed; the last "
                                  "is " +
                                      std::to_string(kLastStream) + ")")
                       ->option_text("K");
    auto* game =
        app.add_option_function<std::string>(
               "--game",
               [&options](const std::string& text) { options.game = ParseGame(text).game; },
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
               "--price", [&options](const std::string& text) { options.price = ReadAmount(text); },
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
    auto* perWeek =
        app.add_option_function<std::string>(
               "--draws-per-week",
               [&options](const std::string& text) { options.drawsPerWeek = DrawsPerWeek(text); },
               "Give the waiting times in years too, at D draws a week")
            ->option_text("D")
            ->check(CLI::Validator(
                [](const std::string& text) -> std::string {
                    return DrawsPerWeek(text) ? ""
                                              : Quoted(text) +
                                                    " is not a number of draws a week from "
                                                    "0.001 (one in a thousand weeks, which keeps "
                                                    "the years finite) to 10000";
                },
                "", "draws a week"));
    auto* until = app.add_option("--until", options.until,
                                 "Draw until the ticket first hits TIER (or any tier with a "
                                 "prize), DRAWS being the bound; no speed test")
                      ->option_text("TIER");
    auto* lifetimes = AddWholeNumber(app, "--lifetimes", options.lifetimes, 1, 10'000'000,
                                     "Play R lifetimes of DRAWS draws each, then summarise "
                                     "their nets")
                          ->option_text("R")
                          ->excludes(repeat)
                          ->excludes(batch)
                          ->excludes(until);
    auto* boxes = app.add_option("DRAWS G1 G2 G3 G4 G5 G6", options.boxes,
                                 "The number of draws and the six favourite numbers (with "
                                 "--game, the ticket)");
    if (AsksForAGame(argc, argv)) {
        boxes->expected(1, -1);
    } else {
        boxes->expected(1 + kFavouriteCount);
    }
    AddAuditOptions(app, options.audit,
                    {batch, repeat, stats, raw, boxes, price, prize, perWeek, until, lifetimes});
    batch->excludes(boxes)->excludes(repeat);
    // The raw words are the generator's alone: no command, no table, no chart.
    for (CLI::Option* other : {batch, json, csv, stats, locale, svg, repeat, threads, stream, boxes,
                               game, price, prize, perWeek, until, lifetimes}) {
        raw->excludes(other);
    }
    if (const std::optional<std::string> unknown = FindUnknownOption(app, argc, argv)) {
        return UsageError(*unknown);
    }
    try {
        app.parse(SplitValues(app, argc, argv));
    } catch (const CLI::CallForHelp& help) {
        return Said(app, help, "help");
    } catch (const CLI::CallForVersion& version) {
        return Said(app, version, "version");
    } catch (const CLI::ParseError& error) {
        return UsageError(PrintableText(error.what()));
    }
    if (options.svg && options.svg->empty()) {
        return UsageError("--svg: an empty file name");
    }
    for (const std::string& text : prizeTexts) {
        Refusal refusal;
        options.prizes.push_back(*ReadPrizeArgument(text, refusal));
    }
    if (options.waits() && !options.game) {
        options.game = kSixOfFortyNine;  // played by tier, as --game 6/49
    }
    options.mode = ChooseMode(flags);
    if (const std::optional<std::string> refused =
            CheckAuditOptions(app, options.audit, options.game, options.stream)) {
        return UsageError(*refused);
    }
    const std::size_t boxesWanted = options.game ? 2 : 1 + kFavouriteCount;
    if (options.mode.output != Output::Raw && options.mode.source == Source::Arguments &&
        !options.audit.asked() && options.boxes.size() < boxesWanted) {
        return UsageError(options.game ? "expected DRAWS and a ticket (or --batch)"
                                       : "expected DRAWS and six favourite numbers (or --batch)");
    }
    return {options, ExitStatus::Drew};
}

}  // namespace loto
