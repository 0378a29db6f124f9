#include "cli/audit_options.h"

#include <CLI/CLI.hpp>
#include <charconv>

#include "core/generator_jump.h"
#include "platform/quoted_text.h"

namespace loto {
namespace {

std::string_view Trimmed(std::string_view text) noexcept {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool AllDigits(std::string_view text) noexcept {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Digits alone read in decimal, as the other whole numbers of loto-sim's options: CLI11's own
// conversion reads 010 as octal.
std::optional<std::uint64_t> Decimal(std::string_view text) noexcept {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (!AllDigits(text) || stop != end || error != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

CLI::Validator WholeNumber(std::uint64_t low, std::uint64_t high) {
    return CLI::Validator(
        [low, high](const std::string& text) -> std::string {
            const std::optional<std::uint64_t> value = Decimal(text);
            if (!AllDigits(text)) {
                return Quoted(text) + " is not a whole number";
            }
            if (!value || *value < low || *value > high) {
                return Quoted(text) + " is not in range " + std::to_string(low) + " to " +
                       std::to_string(high);
            }
            return {};
        },
        "", "whole number");
}

// A level strictly between 0 and 1, written in the C locale's forms: 0.01, 1e-3.
std::optional<double> Level(std::string_view text) noexcept {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || stop != end || error != std::errc{} || !(value > 0 && value < 1)) {
        return std::nullopt;
    }
    return value;
}

CLI::Validator Columns(bool many) {
    return CLI::Validator(
        [many](const std::string& text) -> std::string {
            const bool read = many ? ParseColumns(text).has_value() : ParseColumn(text).has_value();
            if (read) {
                return {};
            }
            return Quoted(text) + (many ? " is not a list of columns" : " is not a column") +
                   ": a header's name, or a position from 1" + (many ? ", separated by ','" : "");
        },
        "", "columns");
}

CLI::Option* Whole(CLI::App& app, const std::string& name, std::uint64_t low, std::uint64_t high,
                   std::function<void(std::uint64_t)> set, const std::string& description) {
    return app
        .add_option_function<std::string>(
            name, [set = std::move(set)](const std::string& text) { set(*Decimal(text)); },
            description)
        ->check(WholeNumber(low, high));
}

}  // namespace

std::optional<ColumnRef> ParseColumn(std::string_view text) {
    const std::string_view name = Trimmed(text);
    if (name.empty()) {
        return std::nullopt;
    }
    if (!AllDigits(name)) {
        return ColumnRef(std::string(name));
    }
    const std::optional<std::uint64_t> position = Decimal(name);
    if (!position || *position < 1 || *position > 1'000'000) {
        return std::nullopt;
    }
    return ColumnRef(static_cast<int>(*position));
}

std::optional<std::vector<ColumnRef>> ParseColumns(std::string_view text) {
    std::vector<ColumnRef> columns;
    for (std::size_t from = 0;;) {
        const std::size_t comma = text.find(',', from);
        const std::optional<ColumnRef> column = ParseColumn(text.substr(from, comma - from));
        if (!column) {
            return std::nullopt;
        }
        columns.push_back(*column);
        if (comma == std::string_view::npos) {
            return columns;
        }
        from = comma + 1;
    }
}

std::vector<std::string> TicketValues(std::string_view text) {
    std::vector<std::string> values;
    std::size_t from = 0;
    while ((from = text.find_first_not_of(" \t,", from)) != std::string_view::npos) {
        const std::size_t end = std::min(text.find_first_of(" \t,", from), text.size());
        values.emplace_back(text.substr(from, end - from));
        from = end;
    }
    return values;
}

void AddAuditOptions(CLI::App& app, AuditOptions& audit,
                     std::initializer_list<CLI::Option*> commandsOnly) {
    auto* file = app.add_option("--audit", audit.file,
                                "Audit a history of real draws, a CSV file (- for standard "
                                "input) with a header: is each test's outcome likely under fair "
                                "draws?")
                     ->option_text("FILE");
    auto* generator =
        Whole(
            app, "--audit-generator", 1, kMostGeneratorDraws,
            [&audit](std::uint64_t n) { audit.generatorDraws = n; },
            "Audit N draws of the program's own generator (--game, --stream K) as a history, "
            "and streams K and K + 1 side by side")
            ->option_text("N");
    file->excludes(generator);
    for (CLI::Option* other : commandsOnly) {
        file->excludes(other);
        generator->excludes(other);
    }
    if (CLI::Option* stream = app.get_option_no_throw("--stream")) {
        file->excludes(stream);
    }
    app.add_option("--columns", audit.columns,
                   "With --audit: the main numbers' columns, by header name or position from 1")
        ->option_text("A,B,...")
        ->check(Columns(true))
        ->needs(file);
    app.add_option("--second", audit.second, "With --audit: a second pool's columns")
        ->option_text("X,Y,...")
        ->check(Columns(true))
        ->needs(file);
    app.add_option("--bonus", audit.bonus, "With --audit: the bonus number's column")
        ->option_text("COL")
        ->check(Columns(false))
        ->needs(file);
    app.add_option("--date", audit.date,
                   "With --audit: a column of dates (2001-01-31 or 31/01/2001) that orders the "
                   "draws")
        ->option_text("COL")
        ->check(Columns(false))
        ->needs(file);
    app.add_flag("--skip-bad", audit.skipBad,
                 "With --audit: set bad lines aside, count and list them, instead of stopping")
        ->needs(file);
    Whole(
        app, "--calibrate", 0, kMostCalibrate, [&audit](std::uint64_t r) { audit.calibrate = r; },
        "Calibrate the gaps' p-value on R fair histories of the same length (fixed seed; 0: the "
        "chi-square law's); by default on enough for it to reach alpha once adjusted, and on "
        "while its 99 % interval holds one of Holm's levels, up to 100000")
        ->option_text("R");
    app.add_option_function<std::string>(
           "--alpha", [&audit](const std::string& text) { audit.alpha = *Level(text); },
           "Flag the audit when a p-value, adjusted by Holm's method over them all, is under "
           "LEVEL (default 0.01)")
        ->option_text("LEVEL")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                return Level(text) ? "" : Quoted(text) + " is not a level between 0 and 1";
            },
            "", "level"));
    app.add_option(
           "--ticket", audit.ticket,
           "With an audit: also test this ticket's tally by tier against the tiers' exact "
           "probabilities; its numbers separated by blanks or commas, '+' before the second "
           "pool's")
        ->option_text("NUMBERS")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                // A ticket read as a box reads "7;10" would be the ticket 7.
                for (const std::string& value : TicketValues(text)) {
                    if (value != "+" && !AllDigits(value)) {
                        return Quoted(value) +
                               " is not a number: a ticket's numbers are whole numbers "
                               "separated by blanks or commas";
                    }
                }
                return {};
            },
            "", "ticket"));
}

std::optional<std::string> CheckAuditOptions(const CLI::App& app, const AuditOptions& audit,
                                             const std::optional<Game>& game,
                                             std::uint64_t stream) {
    if (!audit.asked()) {
        for (const char* name : {"--calibrate", "--alpha", "--ticket"}) {
            if (app.count(name) > 0) {
                return std::string(name) + " needs --audit or --audit-generator";
            }
        }
        return std::nullopt;
    }
    if (audit.generatorDraws) {
        if (stream >= kLastStream) {
            return "--audit-generator sets stream K beside stream K + 1: --stream goes up to " +
                   std::to_string(kLastStream - 1) + " with it";
        }
        return std::nullopt;
    }
    if (!audit.columns) {
        return "--audit needs --columns, the main numbers' columns";
    }
    if (!game) {
        return std::nullopt;
    }
    const std::string named = GameName(*game);
    const auto count = [](const std::optional<std::string>& list) {
        return list ? static_cast<int>(ParseColumns(*list)->size()) : 0;
    };
    if (count(audit.columns) != game->main.drawn) {
        return "--columns names " + std::to_string(count(audit.columns)) + " columns, but " +
               named + " draws " + std::to_string(game->main.drawn) + " main numbers";
    }
    if (count(audit.second) != game->second.drawn) {
        return game->hasSecond() ? "--second must name the " + std::to_string(game->second.drawn) +
                                       " columns of the second pool of " + named
                                 : "--second: " + named + " has no second pool";
    }
    if (audit.bonus.has_value() != game->bonus) {
        return game->bonus ? "--bonus must name the column of the bonus of " + named
                           : "--bonus: " + named + " has no bonus";
    }
    return std::nullopt;
}

}  // namespace loto
