#include "cli/game_run.h"

#include <optional>

#include "charts/rounds_chart.h"
#include "charts/waits_chart.h"
#include "cli/command_run.h"
#include "cli/refusal_text.h"
#include "cli/text.h"
#include "core/game_input.h"
#include "core/generator_jump.h"
#include "export/csv.h"
#include "export/json.h"
#include "export/json_numbers.h"
#include "platform/box_text.h"
#include "platform/quoted_text.h"
#include "platform/text_to_number.h"
#include "report/run_summary.h"
#include "rules/jackpot_rounds.h"
#include "rules/shared_money.h"

namespace loto {
namespace {

class GameRun {
public:
    GameRun(const GameMode& mode, DrawPeers* peers)
        : mode_(mode), run_(mode.commands, [this]() -> CommandShown {
              return {session_->inSpeedTest(), session_->estimateText()};
          }) {
        session_.emplace(run_.runTime(), mode.commands.run.threads,
                         *StreamStart(mode.commands.run.stream));
        run_.SayThreads(session_->threads());
        session_->Share(peers);
        if (mode.rules) {
            breakEven_ = FindBreakEven(*mode.rules);
        }
    }

    ExitStatus Run() {
        const bool money = mode_.play.price || !mode_.play.prizes.empty();
        run_.RunCommands(stdin, GameCsvHeader(mode_.commands.stats, mode_.play.waits, money), 0,
                         [this](std::span<const std::string_view> values) { RunOne(values); });
        if (!run_.ended()) {
            Summarise();
        }
        const std::optional<RunSummary::Waits> waits = summary_.waits();
        if (rounds_) {
            return run_.Finish(RoundsChartSvg(*rounds_));
        }
        return run_.Finish(
            waits ? std::optional(WaitsChartSvg(*mode_.play.until, waits->sample, waits->test))
                  : std::nullopt);
    }

private:
    // What the options of money and waiting times make of a ticket; none, said, when they
    // cannot be played with it: a usage error, said before anything is drawn for it.
    std::optional<Play> PlayOf(const DrawRule& rule) {
        ReadPlay read = MakePlay(rule, mode_.play);
        if (!read.play) {
            std::fprintf(stderr, "loto-sim: %s\n", RefusalText(*read.refusal).c_str());
            return std::nullopt;
        }
        if (mode_.lifetimes > 0 && !read.play->money) {
            std::fprintf(stderr, "loto-sim: --lifetimes needs a --price or a --prize\n");
            return std::nullopt;
        }
        if (mode_.rules) {
            read.play->shared = ShareTicket(*mode_.rules, rule, mode_.jackpot, *breakEven_);
            const Game& game = rule.game;
            if (mode_.rounds > 0 && (rule.main.Count() != game.main.drawn ||
                                     rule.second.Count() != game.second.drawn)) {
                std::fprintf(
                    stderr, "loto-sim: --rounds plays a ticket of %d numbers%s, one combination\n",
                    game.main.drawn,
                    game.hasSecond() ? (" and " + std::to_string(game.second.drawn)).c_str() : "");
                return std::nullopt;
            }
        }
        return read.play;
    }

    void RunOne(std::span<const std::string_view> values) {
        const CommandSettings& settings = mode_.commands;
        const ReadTicket ticket = ParseTicket(mode_.game, values.subspan(1));
        if (!ticket.rule) {
            std::fprintf(stderr, "loto-sim: ticket refused: %s\n",
                         RefusalText(*ticket.refusal).c_str());
            run_.End(ExitStatus::Usage);
            return;
        }
        std::optional<Play> play = PlayOf(*ticket.rule);
        if (!play) {
            run_.End(ExitStatus::Usage);
            return;
        }
        const std::string_view count = BoxText(values[0]);
        const std::optional<double> requested = TextToNumber(count);
        GameReport report;
        if (requested) {
            // Drawn until a tier, or a lifetime: on from where the previous command ended.
            report = session_->Simulate({.requested = *requested,
                                         .rule = *ticket.rule,
                                         .speedTest = !play->until && mode_.lifetimes == 0,
                                         .firstHits = play->waits,
                                         .until = play->untilTiers},
                                        run_.pump());
            run_.pump().EndProgress();
        } else {
            run_.Refused();
            std::fprintf(stderr,
                         "loto-sim: the number in DRAWS is beyond the range of numbers: %s\n",
                         Quoted(count).c_str());
        }
        const PrintedGame printed{
            .stream = settings.run.stream,
            .command = run_.NextCommand(),
            .figures = FigureGame(*ticket.rule, std::move(report), std::move(*play), settings.stats,
                                  !requested)};
        const GameFigures& figures = printed.figures;
        if (settings.run.svg && figures.Completed() && figures.report.drawsDone > 0) {
            run_.Chart(figures.report.drawsDone, Counts(figures), Probabilities(figures),
                       TierRows(TierNames(figures)));
        }
        if (figures.Completed()) {
            summary_.Add(figures);
        }
        lastTicket_ = *ticket.rule;
        if (run_.Print(Formatted(settings.run.output, printed, run_.separator()))) {
            run_.EndIfStopped(figures.report.stopped);
        }
    }

    // The waits' test or the lifetimes' summary, after the last command; none in CSV, whose
    // lines are the tiers' alone: a spreadsheet reads one table.
    void Summarise() {
        const Output output = mode_.commands.run.output;
        if (output == Output::Csv) {
            return;
        }
        const bool json = output == Output::Json;
        if (const std::optional<RunSummary::Waits> waits = summary_.waits()) {
            const std::string& tier = *mode_.play.until;
            run_.Print(json ? DumpJson(WaitsJson(tier, waits->sample, waits->test)) + '\n'
                            : WaitsText(tier, waits->sample, waits->test, run_.separator()));
        }
        if (const std::optional<Lifetimes::Summary> lifetimes = summary_.lifetimes()) {
            run_.Print(json ? DumpJson(LifetimesJson(*lifetimes)) + '\n'
                            : LifetimesText(*lifetimes, run_.separator()));
        }
        if (mode_.rounds > 0 && lastTicket_) {
            rounds_ = PlayRounds(*mode_.rules, *lastTicket_,
                                 {.rounds = mode_.rounds,
                                  .jackpot = mode_.jackpot,
                                  .seed = mode_.commands.run.stream},
                                 session_->state(), session_->engine(), run_.pump());
            run_.pump().EndProgress();
            run_.Print(json ? DumpJson(RoundsJson(*rounds_)) + '\n'
                            : RoundsText(*rounds_, run_.separator()));
        }
    }

    const GameMode& mode_;
    std::optional<GameSession> session_;
    CommandRun run_;
    RunSummary summary_{mode_.commands.repeat > 1, mode_.lifetimes > 0};
    std::optional<BreakEven> breakEven_;
    std::optional<DrawRule> lastTicket_;
    std::optional<Rounds> rounds_;
};

}  // namespace

ExitStatus RunGame(const GameMode& mode, DrawPeers* peers) {
    return GameRun(mode, peers).Run();
}

}  // namespace loto
