#include "cli/options.h"

#include <CLI/CLI.hpp>
#include <QLocale>
#include <iostream>

#include "loto_version.h"

namespace loto {
namespace {

constexpr int kUsageError = 2;

// QLocale quietly turns a name it does not know into the C locale.
std::string CheckLocaleName(const std::string& name) {
    const bool plain = name == "C" || name == "POSIX";
    if (!plain && QLocale(QString::fromStdString(name)).language() == QLocale::C) {
        return "unknown locale: " + name;
    }
    return {};
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
        "on a usage error, 130 or 143 when interrupted by SIGINT or SIGTERM.");
    Options options;
    app.set_version_flag("--version", std::string{kVersion});
    app.add_option("--repeat", options.repeat,
                   "Run K commands in a row, the generator carrying over")
        ->option_text("K")
        ->check(CLI::Range(1, 1'000'000));
    app.add_option("--threads", options.threads,
                   "Draw on N threads (default: every hardware thread); the results are the same")
        ->option_text("N")
        ->check(CLI::Range(0u, 1024u));
    auto* batch =
        app.add_flag("--batch", options.batch, "Read one command per line of standard input");
    auto* json = app.add_flag("--json", options.json, "Print one JSON object per command");
    app.add_flag("--csv", options.csv, "Print CSV: a header, then one line per k of each command")
        ->excludes(json);
    app.add_flag("--stats", options.stats,
                 "Add the z-score and exact binomial p-value of each row, and Pearson's "
                 "chi-square of the tally");
    app.add_option("--locale", options.locale, "Decimal separator and dates of this locale")
        ->option_text("NAME")
        ->check(CheckLocaleName, "locale name");
    app.add_option("--svg", options.svg,
                   "Write a chart of the result to FILE: observed against expected counts, or, "
                   "over several commands, the deviations against the draws")
        ->option_text("FILE");
    auto* raw = app.add_flag("--raw", options.raw,
                             "Write the generator's output from the seed as 32-bit little-endian "
                             "words, floor(u x 2^32) of each uniform u, for test batteries")
                    ->excludes(batch)
                    ->excludes(json);
    app.add_option("--count", options.count, "With --raw: stop after N words")
        ->option_text("N")
        ->needs(raw);
    auto* boxes = app.add_option("DRAWS G1 G2 G3 G4 G5 G6", options.boxes,
                                 "The number of draws and the six favourite numbers")
                      ->expected(7);
    batch->excludes(boxes);
    raw->excludes(boxes);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error);
        return {std::nullopt, status == 0 ? 0 : kUsageError};
    }
    if (!options.batch && !options.raw && options.boxes.size() != 7) {
        std::cerr << "loto-sim: expected DRAWS and six favourite numbers (or --batch)\n"
                  << "Run with --help for more information.\n";
        return {std::nullopt, kUsageError};
    }
    return {options, 0};
}

}  // namespace loto
