#include "cli/audit_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <variant>

#include "audit/audit_part.h"
#include "audit/generator_history.h"
#include "audit/periods.h"
#include "audit/report.h"
#include "charts/audit_chart.h"
#include "cli/checked_output.h"
#include "cli/refusal_text.h"
#include "cli/text.h"
#include "core/game_input.h"
#include "core/generator_jump.h"
#include "platform/quoted_text.h"
#include "platform/system_run_time.h"

namespace loto {
namespace {

// What is audited and what the output says of where it comes from.
struct Audited {
    History history;
    std::optional<History> beside{};  // the generator's next stream
    Game game{};
    bool guessed = false;
    std::string source{};
    std::string lineWord = "line";
    std::size_t files = 1;
    std::uint64_t repeated = 0;  // draws present in two files, kept once
};

using Reading = std::variant<Audited, ExitStatus>;

HistoryOptions ReadingOptions(const AuditOptions& audit, const std::optional<Game>& game) {
    HistoryOptions reading;
    ChooseColumns(reading, *ParseColumns(*audit.columns),
                  audit.second ? *ParseColumns(*audit.second) : std::vector<ColumnRef>{},
                  audit.bonus ? ParseColumn(*audit.bonus) : std::nullopt, game);
    if (audit.date) {
        reading.date = *ParseColumn(*audit.date);
    }
    if (audit.by) {
        reading.by = *ParseColumn(*audit.by);
    }
    if (audit.dateFormat) {
        reading.dateOrder = *ParseDateFormat(*audit.dateFormat);
    }
    reading.skipBad = audit.skipBad;
    return reading;
}

// One file's history, or the status of its failure, said.
std::variant<History, ExitStatus> ReadOneFile(const std::string& path,
                                              const HistoryOptions& options, bool named) {
    const std::string name = Quoted(path);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        path == "-" ? nullptr : std::fopen(path.c_str(), "rb"), std::fclose);
    if (path != "-" && !file) {
        std::fprintf(stderr, "loto-sim: %s cannot be read: %s\n", name.c_str(),
                     std::strerror(errno));
        return ExitStatus::Failed;
    }
    HistoryReading reading = ReadHistory(file ? file.get() : stdin, options);
    if (!reading.history) {
        const BadLine& error = *reading.error;
        const std::string line =
            error.line > 0 ? "line " + std::to_string(error.line) + ": " : std::string();
        std::fprintf(stderr, "loto-sim: %s: %s%s\n", name.c_str(), line.c_str(),
                     error.reason.c_str());
        return ExitStatus::Failed;
    }
    if (named) {
        for (BadLine& bad : reading.history->setAside) {
            bad.file = path;
        }
    }
    return std::move(*reading.history);
}

Reading ReadFiles(const AuditMode& mode) {
    const std::vector<std::string>& paths = mode.audit.files;
    const HistoryOptions options = ReadingOptions(mode.audit, mode.game);
    std::vector<History> parts;
    std::vector<std::string> names;
    for (const std::string& path : paths) {
        auto read = ReadOneFile(path, options, paths.size() > 1);
        if (const ExitStatus* status = std::get_if<ExitStatus>(&read)) {
            return *status;
        }
        parts.push_back(std::move(std::get<History>(read)));
        names.push_back(Quoted(path));
    }
    std::string source = names.front();
    for (std::size_t f = 1; f < names.size(); ++f) {
        source += (f + 1 == names.size() ? " and " : ", ") + names[f];
    }
    MergedHistory merged = MergeHistories(std::move(parts), names);
    if (!merged.history) {
        std::fprintf(stderr, "loto-sim: %s\n", merged.fault.c_str());
        return ExitStatus::Failed;
    }
    Audited audited{.history = std::move(*merged.history), .source = std::move(source)};
    audited.files = paths.size();
    audited.repeated = merged.repeated;
    audited.guessed = !mode.game;
    audited.game = mode.game ? *mode.game
                             : GuessedGame(audited.history,
                                           mode.audit.bonus.has_value() || options.bonusInDraw);
    return audited;
}

Audited Generate(const AuditMode& mode) {
    const Game game = mode.game.value_or(kSixOfFortyNine);
    const std::uint64_t draws = *mode.audit.generatorDraws;
    const std::uint64_t stream = mode.run.stream;
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
    const ReadTicket read = ParseTicket(game, TicketValues(*audit.ticket));
    return {read.rule, read.refusal ? RefusalText(*read.refusal) : std::string()};
}

bool TicketRefused(const Ticket& ticket) {
    if (ticket.refusal.empty()) {
        return false;
    }
    std::fprintf(stderr, "loto-sim: ticket refused: %s\n", ticket.refusal.c_str());
    return true;
}

// Why a history cannot be audited at all, if it cannot: an audit that tests nothing is no success.
std::optional<std::string> UntestableText(const History& history) {
    const std::optional<UntestableHistory> why = WhyUntestable(history);
    if (!why) {
        return std::nullopt;
    }
    switch (why->why) {
        case Untestable::NoDraw:
            return "there is no draw to audit";
        case Untestable::AllSetAside:
            return "there is no draw to audit: every one of the " +
                   std::to_string(history.setAside.size()) + " lines was set aside";
        case Untestable::EveryNumber:
            break;
    }
    return "every draw holds every number of 1 to " + std::to_string(why->top) +
           ": no test can tell fair draws from any others";
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
    if (report.guessed) {
        std::fprintf(stderr, "loto-sim: warning: %s\n", GuessText(report.game).c_str());
    }
    for (const BadLine& bad : output == Output::Csv ? report.setAside : std::vector<BadLine>{}) {
        const std::string file = bad.file.empty() ? std::string() : Quoted(bad.file) + ": ";
        std::fprintf(stderr, "loto-sim: %s%s %llu set aside: %s\n", file.c_str(),
                     report.lineWord.c_str(), static_cast<unsigned long long>(bad.line),
                     bad.reason.c_str());
    }
}

}  // namespace

ExitStatus RunAudit(const AuditMode& mode, CalibrationPeers* peers) {
    const AuditOptions& audit = mode.audit;
    if (mode.game && TicketRefused(TicketOf(audit, *mode.game))) {
        return ExitStatus::Usage;
    }
    Reading reading = audit.files.empty() ? Reading(Generate(mode)) : ReadFiles(mode);
    if (const ExitStatus* status = std::get_if<ExitStatus>(&reading)) {
        return *status;
    }
    Audited& audited = std::get<Audited>(reading);
    if (audit.from || audit.to) {
        audited.history = Between(audited.history, audit.from, audit.to, audited.guessed);
        if (audited.guessed) {
            audited.game = GuessedGame(audited.history, audited.game.bonus);
        }
    }
    if (const std::optional<std::string> why = UntestableText(audited.history)) {
        std::fprintf(stderr, "loto-sim: %s: %s\n", audited.source.c_str(), why->c_str());
        return ExitStatus::Failed;
    }
    std::vector<AuditReport> reports;
    const std::vector<HistoryPart> parts =
        AuditedParts(audited.history, audited.guessed ? std::nullopt : std::optional(audited.game),
                     audited.game.bonus);
    for (const HistoryPart& part : parts) {
        const Ticket ticket = TicketOf(audit, part.game);
        if (TicketRefused(ticket)) {
            return ExitStatus::Usage;
        }
        reports.push_back(AuditPart(part,
                                    {.source = audited.source,
                                     .game = part.game,
                                     .guessed = audited.guessed,
                                     .setAside = audited.history.setAside,
                                     .lineWord = audited.lineWord,
                                     .files = audited.files,
                                     .repeated = audited.repeated},
                                    {.replicates = audit.calibrate,
                                     .alpha = audit.alpha,
                                     .threads = mode.run.threads,
                                     .ticket = ticket.rule,
                                     .peers = peers},
                                    audited.beside ? &*audited.beside : nullptr));
        if (reports.back().family.empty()) {
            const std::uint64_t draws = part.history.main.draws();
            std::fprintf(stderr, "loto-sim: %s: no test can be formed from %llu draw%s\n",
                         audited.source.c_str(), static_cast<unsigned long long>(draws),
                         draws == 1 ? "" : "s");
            return ExitStatus::Failed;
        }
        WarnUnreachable(audit, reports.back().family);
    }
    SayAside(reports.front(), mode.run.output);
    const SystemRunTime runTime(TextLocale(mode.run.locale));
    CheckedOutput out(stdout);
    const std::string results =
        reports.size() == 1
            ? Formatted(mode.run.output, reports.front(), runTime.DecimalSeparator())
            : Formatted(mode.run.output, reports, runTime.DecimalSeparator());
    const ExitStatus printed = WriteResults(out, results);
    if (printed != ExitStatus::Drew) {
        return printed;
    }
    // The chart of the rules in force: the last period's.
    const Game& game = reports.back().game;
    return mode.run.svg ? WriteChartFile(*mode.run.svg, AuditSvg(parts.back().history, game))
                        : ExitStatus::Drew;
}

}  // namespace loto
