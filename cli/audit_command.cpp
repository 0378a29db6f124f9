#include "cli/audit_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <variant>

#include "audit/generator_history.h"
#include "charts/audit_chart.h"
#include "cli/audit_report.h"
#include "cli/checked_output.h"
#include "cli/interrupt.h"
#include "cli/json_numbers.h"
#include "cli/refusal_text.h"
#include "core/game_input.h"
#include "core/generator_jump.h"
#include "platform/quoted_text.h"
#include "platform/system_run_time.h"
#include "platform/whole_file.h"

namespace loto {
namespace {

// What is audited and what the output says of where it comes from.
struct Audited {
    History history;
    std::optional<History> beside{};  // the generator's next stream
    Game game{};
    std::optional<std::string> guess{};
    std::string source{};
    std::string lineWord = "line";
};

using Reading = std::variant<Audited, ExitStatus>;

HistoryOptions ReadingOptions(const AuditOptions& audit, const std::optional<Game>& game) {
    HistoryOptions reading;
    reading.main = *ParseColumns(*audit.columns);
    if (audit.second) {
        reading.second = *ParseColumns(*audit.second);
    }
    if (audit.bonus) {
        reading.bonus = *ParseColumn(*audit.bonus);
    }
    if (audit.date) {
        reading.date = *ParseColumn(*audit.date);
    }
    if (game) {
        reading.mainPool = Pool{game->main.drawn, game->main.top};
        if (game->hasSecond()) {
            reading.secondPool = Pool{game->second.drawn, game->second.top};
        }
    }
    reading.skipBad = audit.skipBad;
    return reading;
}

// Without --game: the pools that the history shows, and the warning that says so.
std::string Guessed(const History& history, bool bonus, Game& game) {
    game = {.main = history.main, .bonus = bonus, .second = history.second};
    std::string guess = "no --game: K = " + std::to_string(game.main.drawn) +
                        ", the columns, and N = " + std::to_string(game.main.top) +
                        ", the greatest number seen, are guessed";
    if (game.hasSecond()) {
        guess += ", and so are the second pool's " + std::to_string(game.second.drawn) + " of " +
                 std::to_string(game.second.top);
    }
    return guess;
}

Reading ReadFile(const Options& options) {
    const std::string& path = *options.audit.file;
    const std::string name = Quoted(path);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        path == "-" ? nullptr : std::fopen(path.c_str(), "rb"), std::fclose);
    if (path != "-" && !file) {
        std::fprintf(stderr, "loto-sim: %s cannot be read: %s\n", name.c_str(),
                     std::strerror(errno));
        return ExitStatus::Failed;
    }
    HistoryReading reading =
        ReadHistory(file ? file.get() : stdin, ReadingOptions(options.audit, options.game));
    if (!reading.history) {
        const BadLine& error = *reading.error;
        const std::string line =
            error.line > 0 ? "line " + std::to_string(error.line) + ": " : std::string();
        std::fprintf(stderr, "loto-sim: %s: %s%s\n", name.c_str(), line.c_str(),
                     error.reason.c_str());
        return ExitStatus::Failed;
    }
    Audited audited{.history = std::move(*reading.history), .source = name};
    if (options.game) {
        audited.game = *options.game;
    } else {
        audited.guess = Guessed(audited.history, options.audit.bonus.has_value(), audited.game);
    }
    return audited;
}

Audited Generate(const Options& options) {
    const Game game = options.game.value_or(kSixOfFortyNine);
    const std::uint64_t draws = *options.audit.generatorDraws;
    const std::uint64_t stream = options.stream;
    return {.history = GeneratorHistory(game, *StreamStart(stream), draws),
            .beside = GeneratorHistory(game, *StreamStart(stream + 1), draws),
            .game = game,
            .source = "the generator's stream " + std::to_string(stream) + ", beside stream " +
                      std::to_string(stream + 1),
            .lineWord = "draw"};
}

// The ticket of --ticket, or why it cannot be played, said as loto-sim says it.
struct Ticket {
    std::optional<DrawRule> rule{};
    std::string refusal{};
};

// As a command's ticket is read.
Ticket TicketOf(const AuditOptions& audit, const Game& game) {
    if (!audit.ticket) {
        return {};
    }
    if (game.main.top > kMostTop || (game.hasSecond() && game.second.top > kMostTop)) {
        return {std::nullopt, "a ticket is played on pools of at most " + std::to_string(kMostTop) +
                                  " numbers, not " + GameName(game)};
    }
    const std::vector<std::string> values = TicketValues(*audit.ticket);
    const std::vector<std::string_view> views(values.begin(), values.end());
    const ReadTicket read = ParseTicket(game, views);
    return {read.rule, read.refusal ? RefusalText(*read.refusal) : std::string()};
}

bool TicketRefused(const Ticket& ticket) {
    if (ticket.refusal.empty()) {
        return false;
    }
    std::fprintf(stderr, "loto-sim: ticket refused: %s\n", ticket.refusal.c_str());
    return true;
}

// Why a history cannot be audited at all, if it cannot: an audit that tests nothing is no
// success. A pool whose draws hold every number (N = K) shows nothing a test could tell apart.
std::optional<std::string> Untestable(const Audited& audited) {
    const std::uint64_t draws = audited.history.main.draws();
    if (draws == 0) {
        const std::size_t aside = audited.history.setAside.size();
        return aside == 0 ? std::string("there is no draw to audit")
                          : "there is no draw to audit: every one of the " + std::to_string(aside) +
                                " lines was set aside";
    }
    for (const PoolHistory* pool : {&audited.history.main, &audited.history.second}) {
        if (pool->drawn > 0 && pool->drawn >= pool->top) {
            return "every draw holds every number of 1 to " + std::to_string(pool->top) +
                   ": no test can tell fair draws from any others";
        }
    }
    return std::nullopt;
}

// Fair histories too few for Holm's adjustment to let a calibrated p-value reach alpha: the gaps
// could then never flag the audit, whatever they show. By default that happens only past the
// most histories, for a very small alpha.
void WarnUnreachable(const AuditOptions& audit, const std::vector<AuditEntry>& family) {
    const auto tests = static_cast<double>(family.size());
    for (const AuditEntry& entry : family) {
        const std::optional<CalibratedP>& c = entry.test.calibrated;
        if (c && tests / static_cast<double>(c->histories + 1) >= audit.alpha) {
            const std::uint64_t wanted = HistoriesToReach(family.size(), audit.alpha);
            const std::string remedy =
                wanted <= kMostCalibrate
                    ? "--calibrate " + std::to_string(wanted) + " or more lets it reach alpha"
                    : "no more than --calibrate takes would let it reach so small an alpha";
            std::fprintf(stderr,
                         "loto-sim: warning: over %zu tests, Holm's adjustment keeps a p-value "
                         "calibrated on %llu fair histories above alpha; %s\n",
                         family.size(), static_cast<unsigned long long>(c->histories),
                         remedy.c_str());
            return;
        }
    }
}

// On standard error what JSON and CSV have no place for: the guess, and the lines set aside.
void SayAside(const AuditReport& report, Output output) {
    if (output == Output::Text) {
        return;
    }
    if (report.guess) {
        std::fprintf(stderr, "loto-sim: warning: %s\n", report.guess->c_str());
    }
    for (const BadLine& bad : output == Output::Csv ? report.setAside : std::vector<BadLine>{}) {
        std::fprintf(stderr, "loto-sim: %s %llu set aside: %s\n", report.lineWord.c_str(),
                     static_cast<unsigned long long>(bad.line), bad.reason.c_str());
    }
}

std::string Formatted(const AuditReport& report, const Options& options) {
    switch (options.mode.output) {
        case Output::Json:
            return DumpJson(AuditJson(report)) + '\n';
        case Output::Csv:
            return AuditCsv(report);
        case Output::Text:
        case Output::Raw:
            break;
    }
    const SystemRunTime runTime(TextLocale(options.locale));
    return AuditText(report, runTime.DecimalSeparator());
}

ExitStatus Print(const std::string& text) {
    CheckedOutput out(stdout);
    if (out.Write(text)) {
        return ExitStatus::Drew;
    }
    const ExitStatus status = FailureStatus(out.error());
    std::fprintf(stderr, "loto-sim: the results cannot be written: %s\n",
                 std::strerror(out.error()));
    return status;
}

ExitStatus WriteChart(const std::string& path, const Audited& audited) {
    const int error = WriteWholeFile(path, AuditSvg(audited.history, audited.game));
    if (error == 0) {
        return ExitStatus::Drew;
    }
    std::fprintf(stderr, "loto-sim: the chart cannot be written to %s: %s\n", Quoted(path).c_str(),
                 std::strerror(error));
    return FailureStatus(error);
}

}  // namespace

ExitStatus RunAudit(const Options& options) {
    const AuditOptions& audit = options.audit;
    if (options.game && TicketRefused(TicketOf(audit, *options.game))) {
        return ExitStatus::Usage;
    }
    Reading reading = audit.file ? ReadFile(options) : Reading(Generate(options));
    if (const ExitStatus* status = std::get_if<ExitStatus>(&reading)) {
        return *status;
    }
    Audited& audited = std::get<Audited>(reading);
    if (const std::optional<std::string> why = Untestable(audited)) {
        std::fprintf(stderr, "loto-sim: %s: %s\n", audited.source.c_str(), why->c_str());
        return ExitStatus::Failed;
    }
    const Ticket ticket = TicketOf(audit, audited.game);
    if (TicketRefused(ticket)) {
        return ExitStatus::Usage;
    }
    std::vector<AuditEntry> family = AuditHistory(audited.history,
                                                  {.replicates = audit.calibrate,
                                                   .alpha = audit.alpha,
                                                   .threads = options.threads,
                                                   .ticket = ticket.rule},
                                                  audited.beside ? &*audited.beside : nullptr);
    if (family.empty()) {
        const std::uint64_t draws = audited.history.main.draws();
        std::fprintf(stderr, "loto-sim: %s: no test can be formed from %llu draw%s\n",
                     audited.source.c_str(), static_cast<unsigned long long>(draws),
                     draws == 1 ? "" : "s");
        return ExitStatus::Failed;
    }
    WarnUnreachable(audit, family);
    const AuditReport report{.source = audited.source,
                             .game = audited.game,
                             .guess = audited.guess,
                             .ticket = ticket.rule,
                             .draws = audited.history.main.draws(),
                             .setAside = audited.history.setAside,
                             .lineWord = audited.lineWord,
                             .family = std::move(family),
                             .alpha = audit.alpha};
    SayAside(report, options.mode.output);
    const ExitStatus printed = Print(Formatted(report, options));
    if (printed != ExitStatus::Drew) {
        return printed;
    }
    return options.svg ? WriteChart(*options.svg, audited) : ExitStatus::Drew;
}

}  // namespace loto
