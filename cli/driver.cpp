#include "cli/driver.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "charts/waits_chart.h"
#include "cli/game_report.h"
#include "cli/interrupt.h"
#include "cli/json_numbers.h"
#include "cli/printed_command.h"
#include "cli/refusal_text.h"
#include "cli/report.h"
#include "core/game_input.h"
#include "core/generator_jump.h"
#include "core/speed_test.h"
#include "platform/box_text.h"
#include "platform/line_reader.h"
#include "platform/quoted_text.h"
#include "platform/text_to_number.h"
#include "platform/whole_file.h"

namespace loto {
namespace {

constexpr std::size_t kFormFields = 1 + kFavouriteCount;

std::string Formatted(Output output, const PrintedCommand& printed, std::string_view separator) {
    switch (output) {
        case Output::Json:
            return DumpJson(ReportJson(printed)) + '\n';
        case Output::Csv:
            return CsvRows(printed);
        case Output::Text:
        case Output::Raw:
            break;
    }
    return ReportText(printed, separator);
}

std::string Formatted(Output output, const PrintedGame& printed, std::string_view separator) {
    switch (output) {
        case Output::Json:
            return DumpJson(GameJson(printed)) + '\n';
        case Output::Csv:
            return GameCsvRows(printed);
        case Output::Text:
        case Output::Raw:
            break;
    }
    return GameText(printed, separator);
}

void SayUnreadable(const std::string& name, std::string_view text) {
    std::fprintf(stderr, "loto-sim: the number in %s is beyond the range of numbers: %s\n",
                 name.c_str(), Quoted(text).c_str());
}

// Why a command drew nothing, on standard error: the output holds only results.
void SayRefused(const SimulateReport& report, const FormModel& model) {
    const std::string name = InputName(report.refusedInput);
    const ControlUse input =
        report.refusedInput == 0 ? Is(Role::DrawCount) : FavouriteAt(report.refusedInput);
    if (report.outcome == Outcome::Unreadable) {
        SayUnreadable(name, model.Text(input));
    } else {
        std::fprintf(stderr,
                     "loto-sim: grid refused (six different numbers from 1 to 49): %s is %s\n",
                     name.c_str(), Quoted(model.Text(input)).c_str());
    }
}

}  // namespace

Driver::Driver(const Options& options)
    : options_(options),
      runTime_(TextLocale(options.locale)),
      pump_(isatty(STDERR_FILENO) != 0, runTime_.DecimalSeparator(), [this]() -> CommandShown {
          if (games_) {
              return {games_->inSpeedTest(), games_->estimateText()};
          }
          const FormModel& model = form_->model();
          return {model.Shown(Shows(Message::Test)), model.Text(Is(Role::Estimate))};
      }) {
    const GeneratorState start = *StreamStart(options.stream);
    unsigned started = 0;
    if (options.game) {
        started = games_.emplace(runTime_, options.threads, start).threads();
    } else {
        started = form_.emplace(runTime_, options.threads, start).threads();
    }
    const unsigned asked = ParallelDrawEngine::ResolveThreads(options.threads);
    if (started < asked) {
        std::fprintf(stderr, "loto-sim: only %u of the %u threads asked for could start\n", started,
                     asked);
    }
}

bool Driver::Print(const std::string& text) {
    if (out_.Write(text)) {
        return true;
    }
    ended_ = FailureStatus(out_.error());
    if (*ended_ == ExitStatus::Failed) {  // not when stopped while the output waited for a reader
        std::fprintf(stderr, "loto-sim: the results cannot be written: %s\n",
                     std::strerror(out_.error()));
    }
    return false;
}

bool Driver::Start() {
    if (options_.mode.output != Output::Csv) {
        return true;
    }
    return Print(options_.game ? GameCsvHeader(options_.stats, options_.waits(), options_.money())
                               : CsvHeader(options_.stats));
}

void Driver::RunCommands(std::FILE* input) {
    if (!Start()) {
        return;
    }
    if (options_.mode.source == Source::Batch) {
        RunBatch(input);
        return;
    }
    const std::vector<std::string_view> values(options_.boxes.begin(), options_.boxes.end());
    const int commands = options_.lifetimes > 0 ? options_.lifetimes : options_.repeat;
    for (int i = 0; i < commands && !ended_; ++i) {
        Run(values);
    }
    if (!ended_) {
        Summarise();
    }
}

void Driver::Run(std::span<const std::string_view> values) {
    // A command that draws nothing never visits the pump, which is where an interrupt is heard.
    if (InterruptSignal() != 0) {
        ended_ = SignalStatus(InterruptSignal());
        return;
    }
    pump_.StartCommand();
    if (games_) {
        RunGame(values);
    } else {
        RunForm(values);
    }
}

void Driver::RunForm(std::span<const std::string_view> values) {
    FormModel& model = form_->model();
    model.Typed(Is(Role::DrawCount), values[0]);
    for (int position = 1; position <= kFavouriteCount; ++position) {
        model.Typed(FavouriteAt(position), values[static_cast<std::size_t>(position)]);
    }
    std::optional<SimulateReport> report = form_->ClickSimuler(pump_);
    pump_.EndProgress();
    if (!report) {
        return;  // the session has stopped: an interrupt is being reported
    }
    if (options_.svg && report->completed() && report->drawsDone > 0) {
        const PerRow<double> probabilities = MatchProbabilities();
        Chart(report->drawsDone, {report->tally.begin(), report->tally.end()},
              {probabilities.begin(), probabilities.end()}, MatchRows());
    }
    if (report->refused()) {
        refused_ = true;
        SayRefused(*report, model);
    }
    const PrintedCommand printed =
        MakePrintedCommand(options_.stream, ++commandsRun_, std::move(*report), options_.stats);
    if (Print(Formatted(options_.mode.output, printed, runTime_.DecimalSeparator())) &&
        printed.report.stopped()) {
        ended_ = SignalStatus(InterruptSignal());
    }
}

std::optional<PlayShown> Driver::Play(const DrawRule& rule, std::vector<int>& until) {
    PlayShown play{.waits = options_.waits(),
                   .money = std::nullopt,
                   .drawsPerWeek = options_.drawsPerWeek,
                   .until = options_.until};
    if (options_.money()) {
        const ReadPrizes prizes = MakePrizeTable(rule, options_.price.value_or(0), options_.prizes);
        if (!prizes.table) {
            std::fprintf(stderr, "loto-sim: %s\n", RefusalText(*prizes.refusal).c_str());
            return std::nullopt;
        }
        play.money = MakeMoneyLaw(rule, *prizes.table);
        if (!play.money) {
            std::fprintf(stderr,
                         "loto-sim: a draw of this ticket could cost or pay more than 10^16: too "
                         "much to count to the cent\n");
            return std::nullopt;
        }
    }
    if (options_.lifetimes > 0 && !play.money) {
        std::fprintf(stderr, "loto-sim: --lifetimes needs a --price or a --prize\n");
        return std::nullopt;
    }
    if (options_.until) {
        ReadUntil read = ReadUntilTier(rule, *options_.until, play.money);
        if (read.refusal) {
            std::fprintf(stderr, "loto-sim: %s\n", RefusalText(*read.refusal).c_str());
            return std::nullopt;
        }
        until = std::move(read.tiers);
    }
    return play;
}

// A ticket that cannot be played is a usage error, said before anything is drawn for it.
void Driver::RunGame(std::span<const std::string_view> values) {
    const ReadTicket ticket = ParseTicket(*options_.game, values.subspan(1));
    if (!ticket.rule) {
        std::fprintf(stderr, "loto-sim: ticket refused: %s\n",
                     RefusalText(*ticket.refusal).c_str());
        ended_ = ExitStatus::Usage;
        return;
    }
    std::vector<int> until;
    std::optional<PlayShown> play = Play(*ticket.rule, until);
    if (!play) {
        ended_ = ExitStatus::Usage;
        return;
    }
    const std::string_view count = BoxText(values[0]);
    const std::optional<double> requested = TextToNumber(count);
    GameReport report;
    if (requested) {
        // Drawn until a tier, or a lifetime: on from where the previous command ended.
        report = games_->Simulate({.requested = *requested,
                                   .rule = *ticket.rule,
                                   .speedTest = !options_.until && options_.lifetimes == 0,
                                   .firstHits = play->waits,
                                   .until = until},
                                  pump_);
        pump_.EndProgress();
    } else {
        refused_ = true;
        SayUnreadable("DRAWS", count);
    }
    const PrintedGame printed =
        MakePrintedGame(options_.stream, ++commandsRun_, *ticket.rule, std::move(report),
                        !requested, options_.stats, std::move(*play));
    if (options_.svg && printed.Completed() && printed.report.drawsDone > 0) {
        ChartRows rows{.names = {}, .countsTitle = "draws in each tier (log)", .axisTitle = "tier"};
        std::vector<std::uint64_t> counts;
        for (const Tier& tier : printed.tiers) {
            rows.names.push_back(TierName(tier));
            counts.push_back(printed.Count(tier));
        }
        Chart(printed.report.drawsDone, counts, Probabilities(printed.tiers), std::move(rows));
    }
    Follow(printed, until);
    if (Print(Formatted(options_.mode.output, printed, runTime_.DecimalSeparator())) &&
        printed.report.stopped) {
        ended_ = SignalStatus(InterruptSignal());
    }
}

void Driver::Follow(const PrintedGame& printed, const std::vector<int>& until) {
    if (!printed.Completed()) {
        return;
    }
    const GameReport& report = printed.report;
    if (!until.empty() && options_.repeat > 1) {
        if (!waits_) {
            waits_.emplace();
            waits_->bound = DrawCount(report.requested);
            for (const Tier& tier : printed.tiers) {
                if (std::ranges::find(until, tier.index) != until.end()) {
                    waits_->probability += tier.probability;
                }
            }
        }
        if (report.untilHit) {
            waits_->waits.push_back(*report.untilHit);
        } else {
            ++waits_->censored;
        }
    }
    if (options_.lifetimes > 0) {
        const MoneyLaw& law = *printed.play.money;
        if (!lifetimes_) {
            lifetimes_.emplace(report.drawsDone, law);
        }
        lifetimes_->Add(law.Won(report.tally) - law.cost * static_cast<Cents>(report.drawsDone));
    }
}

void Driver::Summarise() {
    const bool json = options_.mode.output == Output::Json;
    if (options_.mode.output == Output::Csv) {
        return;  // the lines of the tiers alone: a spreadsheet reads one table
    }
    const std::string_view separator = runTime_.DecimalSeparator();
    if (waits_ && waits_->count() > 0 && waits_->probability > 0) {
        const WaitsTest test = TestWaits(*waits_);
        Print(json ? DumpJson(WaitsJson(*options_.until, *waits_, test)) + '\n'
                   : WaitsText(*options_.until, *waits_, test, separator));
    }
    if (lifetimes_) {
        if (const std::optional<Lifetimes::Summary> summary = lifetimes_->Summarise()) {
            Print(json ? DumpJson(SummaryJson(*summary)) + '\n' : SummaryText(*summary, separator));
        }
    }
}

void Driver::Chart(std::uint64_t draws, const std::vector<std::uint64_t>& counts,
                   const std::vector<double>& probabilities, ChartRows rows) {
    if (!chart_) {
        chart_.emplace(probabilities);
        chartRows_ = std::move(rows);
    } else if (chart_->probabilities() != probabilities || chartRows_.names != rows.names) {
        chartRowsDiffer_ = true;
        return;
    }
    chart_->Add(draws, counts);
}

void Driver::RunBatch(std::FILE* input) {
    LineReader reader(input);
    while (const std::optional<std::string_view> line = reader.Next()) {
        if (InterruptSignal() != 0) {
            break;  // said below; an endless input of blank lines runs no command that would hear
                    // it
        }
        if (IsBlankLine(*line)) {
            continue;
        }
        const std::vector<std::string_view> fields = SplitFields(*line);
        if (!games_ && fields.size() != kFormFields) {
            std::fprintf(
                stderr, "loto-sim: line %llu: expected %zu fields separated by ';', found %zu\n",
                static_cast<unsigned long long>(reader.number()), kFormFields, fields.size());
            ended_ = ExitStatus::Usage;
            return;
        }
        Run(fields);
        if (ended_) {
            if (*ended_ == ExitStatus::Usage) {
                std::fprintf(stderr, "loto-sim: on line %llu\n",
                             static_cast<unsigned long long>(reader.number()));
            }
            return;
        }
    }
    if (InterruptSignal() != 0) {
        ended_ = SignalStatus(InterruptSignal());  // stopped waiting for a line
    } else if (reader.tooLong()) {
        std::fprintf(stderr, "loto-sim: line %llu is longer than %zu bytes: it cannot be read\n",
                     static_cast<unsigned long long>(reader.number()), kMaxLineBytes);
        ended_ = ExitStatus::Failed;
    } else if (reader.error() != 0) {
        std::fprintf(stderr, "loto-sim: standard input cannot be read: %s\n",
                     std::strerror(reader.error()));
        ended_ = ExitStatus::Failed;
    }
}

ExitStatus Driver::WriteChart() const {
    if (!options_.svg) {
        return ExitStatus::Drew;
    }
    const std::string quoted = Quoted(*options_.svg);
    if (waits_ && waits_->count() > 0 && waits_->probability > 0) {
        return WriteSvg(WaitsChartSvg(*options_.until, *waits_, TestWaits(*waits_)));
    }
    if (!chart_) {
        std::fprintf(stderr, "loto-sim: no command drew: no chart for %s\n", quoted.c_str());
        return ExitStatus::Failed;
    }
    if (chartRowsDiffer_) {
        std::fprintf(stderr, "loto-sim: the commands' tiers differ: no chart for %s\n",
                     quoted.c_str());
        return ExitStatus::Failed;
    }
    return WriteSvg(ChartSvg(*chart_, chartRows_));
}

ExitStatus Driver::WriteSvg(const std::string& svg) const {
    const int error = WriteWholeFile(*options_.svg, svg);
    const ExitStatus status = error == 0 ? ExitStatus::Drew : FailureStatus(error);
    if (status == ExitStatus::Failed) {  // not when stopped while a FIFO waited for its reader
        std::fprintf(stderr, "loto-sim: the chart cannot be written to %s: %s\n",
                     Quoted(*options_.svg).c_str(), std::strerror(error));
    }
    return status;
}

// What ended the run early comes first, then the chart, then a refused command.
ExitStatus Driver::Finish() {
    const ExitStatus chart = WriteChart();
    if (ended_) {
        return *ended_;
    }
    if (chart != ExitStatus::Drew) {
        return chart;
    }
    return refused_ ? ExitStatus::Failed : ExitStatus::Drew;
}

}  // namespace loto
