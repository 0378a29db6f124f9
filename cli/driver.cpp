#include "cli/driver.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/interrupt.h"
#include "cli/json_numbers.h"
#include "cli/printed_command.h"
#include "cli/report.h"
#include "core/generator_jump.h"
#include "platform/quoted_text.h"
#include "platform/whole_file.h"

namespace loto {
namespace {

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

// Why a command drew nothing, on standard error: the output holds only results.
void SayRefused(const SimulateReport& report, const FormModel& model) {
    const std::string name = InputName(report.refusedInput);
    const ControlUse input =
        report.refusedInput == 0 ? Is(Role::DrawCount) : FavouriteAt(report.refusedInput);
    const std::string text = Quoted(model.Text(input));
    if (report.outcome == Outcome::Unreadable) {
        std::fprintf(stderr, "loto-sim: the number in %s is beyond the range of numbers: %s\n",
                     name.c_str(), text.c_str());
    } else {
        std::fprintf(stderr,
                     "loto-sim: grid refused (six different numbers from 1 to 49): %s is %s\n",
                     name.c_str(), text.c_str());
    }
}

}  // namespace

Driver::Driver(const Options& options)
    : options_(options),
      runTime_(TextLocale(options.locale)),
      session_(runTime_, options.threads, *StreamStart(options.stream)),
      pump_(isatty(STDERR_FILENO) != 0, runTime_.DecimalSeparator(), session_.model()) {
    const unsigned asked = ParallelDrawEngine::ResolveThreads(options.threads);
    const unsigned started = session_.threads();
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
    return options_.mode.output != Output::Csv || Print(CsvHeader(options_.stats));
}

void Driver::RunCommands(std::FILE* input) {
    if (!Start()) {
        return;
    }
    if (options_.mode.source == Source::Batch) {
        RunBatch(input);
        return;
    }
    BoxTexts boxes;
    std::copy(options_.boxes.begin(), options_.boxes.end(), boxes.begin());
    for (int i = 0; i < options_.repeat && !ended_; ++i) {
        Run(boxes);
    }
}

void Driver::Run(const BoxTexts& boxes) {
    // A command that draws nothing never visits the pump, which is where an interrupt is heard.
    if (InterruptSignal() != 0) {
        ended_ = SignalStatus(InterruptSignal());
        return;
    }
    FormModel& model = session_.model();
    model.Typed(Is(Role::DrawCount), boxes[0]);
    for (int position = 1; position <= kFavouriteCount; ++position) {
        model.Typed(FavouriteAt(position), boxes[static_cast<std::size_t>(position)]);
    }
    pump_.StartCommand();
    std::optional<SimulateReport> report = session_.ClickSimuler(pump_);
    pump_.EndProgress();
    if (!report) {
        return;  // the session has stopped: an interrupt is being reported
    }
    if (options_.svg && report->outcome == Outcome::Completed && report->drawsDone > 0) {
        chart_.Add(report->drawsDone, report->tally);
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

void Driver::RunBatch(std::FILE* input) {
    LineReader reader(input);
    while (const std::optional<std::string_view> line = reader.Next()) {
        if (IsBlankLine(*line)) {
            continue;
        }
        const BatchFields fields = SplitBatchLine(*line);
        if (!fields.boxes) {
            std::fprintf(stderr,
                         "loto-sim: line %llu: expected %zu fields separated by ';', found %llu\n",
                         static_cast<unsigned long long>(reader.number()), BoxTexts{}.size(),
                         static_cast<unsigned long long>(fields.count));
            ended_ = ExitStatus::Usage;
            return;
        }
        Run(*fields.boxes);
        if (ended_) {
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
    if (chart_.commands() == 0) {
        std::fprintf(stderr, "loto-sim: no command drew: no chart for %s\n", quoted.c_str());
        return ExitStatus::Failed;
    }
    const int error = WriteWholeFile(*options_.svg, ChartSvg(chart_));
    const ExitStatus status = error == 0 ? ExitStatus::Drew : FailureStatus(error);
    if (status == ExitStatus::Failed) {  // not when stopped while a FIFO waited for its reader
        std::fprintf(stderr, "loto-sim: the chart cannot be written to %s: %s\n", quoted.c_str(),
                     std::strerror(error));
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
