#include "cli/audit_options.h"

#include "audit/draw_dates.h"
#include "cli/option_values.h"
#include "core/generator_jump.h"
#include "platform/quoted_text.h"
#include "platform/split_values.h"

namespace loto {
namespace {

// A level strictly between 0 and 1.
bool IsLevel(double value) noexcept {
    return value > 0 && value < 1;
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

}  // namespace

std::optional<std::int32_t> ReadBoundDay(std::string_view text) {
    if (text.find('/') != std::string_view::npos) {
        return std::nullopt;  // which of day and month comes first, only a file shows
    }
    DateReader reader;
    return reader.Read(text, 0);
}

std::vector<std::string_view> TicketValues(std::string_view text) {
    return SplitValues(text, " \t,");
}

void AddAuditOptions(CLI::App& app, AuditOptions& audit,
                     std::initializer_list<CLI::Option*> commandsOnly) {
    auto* file = app.add_option("--audit", audit.files,
                                "Audit a history of real draws, a CSV file (- for standard "
                                "input) with a header, or several files of one game, merged by "
                                "date: is each test's outcome likely under fair draws?")
                     ->option_text("FILE...")
                     ->expected(1, -1);
    auto* generator =
        AddWholeNumber<std::uint64_t>(
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
    auto* date = app.add_option("--date", audit.date,
                                "With --audit: a column of dates that orders the draws: "
                                "2001-01-31, 20010131, 31/01/2001 or 01/31/2001, 31-Jan-2001")
                     ->option_text("COL")
                     ->check(Columns(false))
                     ->needs(file);
    app.add_option("--date-format", audit.dateFormat,
                   "With --date: how slashed dates are written, DD/MM/YYYY or MM/DD/YYYY (by "
                   "default, the first date whose day is above 12 shows it)")
        ->option_text("FORMAT")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                return ParseDateFormat(text) ? std::string()
                                             : Quoted(text) + " is not DD/MM/YYYY or MM/DD/YYYY";
            },
            "", "date format"))
        ->needs(date);
    for (const auto& [name, bound, help] :
         {std::tuple("--from", &audit.from, "With --date: audit the draws from this date on"),
          std::tuple("--to", &audit.to, "With --date: audit the draws up to this date")}) {
        app.add_option_function<std::string>(
               name, [bound](const std::string& text) { *bound = ReadBoundDay(text); },
               std::string(help) + " (2015-10-10, 20151010 or 10-Oct-2015)")
            ->option_text("DATE")
            ->check(CLI::Validator(
                [](const std::string& text) -> std::string {
                    return ReadBoundDay(text) ? std::string()
                                              : Quoted(text) +
                                                    " is not a date such as 2015-10-10, "
                                                    "20151010 or 10-Oct-2015";
                },
                "", "date"))
            ->needs(date);
    }
    app.add_option("--by", audit.by,
                   "With --audit: a column of machines or ball sets: the numbers test within each, "
                   "and the chi-square of the numbers against them")
        ->option_text("COL")
        ->check(Columns(false))
        ->needs(file);
    app.add_flag("--skip-bad", audit.skipBad,
                 "With --audit: set bad lines aside, count and list them, instead of stopping")
        ->needs(file);
    AddWholeNumber<std::uint64_t>(
        app, "--calibrate", 0, kMostCalibrate, [&audit](std::uint64_t r) { audit.calibrate = r; },
        "Calibrate the gaps' p-value on R fair histories of the same length (fixed seed; 0: the "
        "chi-square law's); by default on enough for it to reach alpha once adjusted, and on "
        "while its 99 % interval holds one of Holm's levels, up to 100000")
        ->option_text("R");
    AddDecimal(
        app, "--alpha", IsLevel, [&audit](double level) { audit.alpha = level; },
        " is not a level between 0 and 1",
        "Flag the audit when a p-value, adjusted by Holm's method over them all, is under LEVEL "
        "(default 0.01)")
        ->option_text("LEVEL");
    app.add_option(
           "--ticket", audit.ticket,
           "With an audit: also test this ticket's tally by tier against the tiers' exact "
           "probabilities; its numbers separated by blanks or commas, '+' before the second "
           "pool's")
        ->option_text("NUMBERS")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                // A ticket read as a box reads "7;10" would be the ticket 7.
                for (const std::string_view value : TicketValues(text)) {
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
    if (audit.from && audit.to && *audit.from > *audit.to) {
        return "--from is after --to: no draw lies between them";
    }
    if (!game) {
        return std::nullopt;
    }
    const std::string named = GameName(*game);
    const auto count = [](const std::optional<std::string>& list) {
        return list ? static_cast<int>(ParseColumns(*list)->size()) : 0;
    };
    if (count(audit.columns) == 1 && !audit.second && !audit.bonus) {
        return std::nullopt;  // one column holds the whole draw, split as the game draws it
    }
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
