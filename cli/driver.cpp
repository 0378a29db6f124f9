#include "cli/driver.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/batch_input.h"
#include "cli/headless_window.h"
#include "cli/interrupt.h"
#include "cli/report.h"
#include "cli/terminal_pump.h"
#include "core/generator_jump.h"
#include "platform/quoted_text.h"
#include "platform/whole_file.h"

namespace loto {
namespace {

HeadlessWindow::Inputs ToInputs(const BoxTexts& boxes) {
    HeadlessWindow::Inputs inputs;
    std::copy(boxes.begin(), boxes.end(), inputs.begin());
    return inputs;
}

std::string Formatted(const Options& options, const CommandRows& rows, std::string_view separator) {
    if (options.json) {
        return ReportJson(rows).dump() + '\n';
    }
    return options.csv ? CsvRows(rows) : ReportText(rows, separator);
}

// Why a command drew nothing, on standard error: the output holds only results.
void SayRefused(const CommandRows& rows, const HeadlessWindow::Inputs& inputs) {
    const std::string name = InputName(rows.refusedInput);
    const std::string text = Quoted(inputs.at(static_cast<std::size_t>(rows.refusedInput)));
    if (rows.outcome == Outcome::Unreadable) {
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
      commands_(runTime_, options.threads, *StreamStart(options.stream)),
      showProgress_(isatty(STDERR_FILENO) != 0) {
    const unsigned asked = ParallelDrawEngine::ResolveThreads(options.threads);
    if (commands_.threads() < asked) {
        std::fprintf(stderr, "loto-sim: only %u of the %u threads asked for could start\n",
                     commands_.threads(), asked);
    }
}

bool Driver::Print(const std::string& text) {
    if (out_.Write(text)) {
        return true;
    }
    ended_ = FailureStatus(out_.error());
    if (*ended_ != kFailed) {
        return false;  // stopped while the output waited for its reader
    }
    std::fprintf(stderr, "loto-sim: the results cannot be written: %s\n",
                 std::strerror(out_.error()));
    return false;
}

bool Driver::Start() {
    return !options_.csv || Print(CsvHeader(options_.stats));
}

int Driver::Run(HeadlessWindow::Inputs boxes) {
    HeadlessWindow window(std::move(boxes));
    TerminalPump pump(window, showProgress_, runTime_.DecimalSeparator());
    const SimulateReport report = commands_.SimulateCommand(window, pump);
    pump.EndProgress();
    const std::optional<LocalDateTime> estimate =
        report.estimate ? std::optional(runTime_.LocalTime(*report.estimate)) : std::nullopt;
    CommandRows rows = MakeCommandRows(++commandsRun_, window, report, estimate, options_.stats);
    rows.stream = options_.stream;
    if (options_.svg && report.outcome == Outcome::Completed && report.drawsDone > 0) {
        chart_.Add(report.drawsDone, report.tally);
    }
    if (rows.refused()) {
        SayRefused(rows, window.inputs());
    }
    if (!Print(Formatted(options_, rows, runTime_.DecimalSeparator()))) {
        return *ended_;
    }
    if (rows.interrupted()) {
        ended_ = 128 + InterruptSignal();
        return *ended_;
    }
    return rows.refused() ? kRefused : 0;
}

int Driver::WriteChart() const {
    if (!options_.svg) {
        return 0;
    }
    const std::string quoted = Quoted(*options_.svg);
    if (chart_.points().empty()) {
        std::fprintf(stderr, "loto-sim: no command drew: no chart for %s\n", quoted.c_str());
        return kFailed;
    }
    const int error = WriteWholeFile(*options_.svg, ChartSvg(chart_.points()));
    const int status = error == 0 ? 0 : FailureStatus(error);
    if (status == kFailed) {  // not when stopped while a FIFO waited for its reader
        std::fprintf(stderr, "loto-sim: the chart cannot be written to %s: %s\n", quoted.c_str(),
                     std::strerror(error));
    }
    return status;
}

int Driver::RunBatch(std::FILE* input) {
    int status = 0;
    LineReader reader(input);
    while (const std::optional<std::string_view> line = reader.Next()) {
        if (IsBlankLine(*line)) {
            continue;
        }
        const BatchFields fields = SplitBatchLine(*line);
        if (!fields.boxes) {
            std::fprintf(stderr,
                         "loto-sim: line %llu: expected 7 fields separated by ';', found %llu\n",
                         static_cast<unsigned long long>(reader.number()),
                         static_cast<unsigned long long>(fields.count));
            return kUsageError;
        }
        HeadlessWindow::Inputs inputs = ToInputs(*fields.boxes);
        status = std::max(status, Run(std::move(inputs)));
        if (ended_) {
            return *ended_;
        }
    }
    if (InterruptSignal() != 0) {
        return 128 + InterruptSignal();  // stopped waiting for a line
    }
    if (reader.tooLong()) {
        std::fprintf(stderr, "loto-sim: line %llu is longer than %zu bytes: it cannot be read\n",
                     static_cast<unsigned long long>(reader.number()), kMaxLineBytes);
        return kFailed;
    }
    if (reader.error() != 0) {
        std::fprintf(stderr, "loto-sim: standard input cannot be read: %s\n",
                     std::strerror(reader.error()));
        return kFailed;
    }
    return status;
}

}  // namespace loto
