#include "cli/driver.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/batch_input.h"
#include "cli/headless_window.h"
#include "cli/interrupt.h"
#include "cli/report.h"
#include "cli/terminal_text.h"

namespace loto {
namespace {

HeadlessWindow::Inputs ToInputs(const std::vector<std::string>& boxes) {
    HeadlessWindow::Inputs inputs;
    inputs.drawCount = boxes.at(0);
    for (std::size_t i = 0; i < inputs.favourites.size(); ++i) {
        inputs.favourites[i] = boxes.at(i + 1);
    }
    return inputs;
}

std::string Formatted(const Options& options, int command, const CommandResult& result) {
    if (options.json) {
        return ReportJson(result).dump() + '\n';
    }
    return options.csv ? CsvRows(command, result) : ReportText(result);
}

}  // namespace

Driver::Driver(const Options& options)
    : options_(options),
      runTime_(TextLocale(options.locale)),
      commands_(runTime_, options.threads),
      showProgress_(isatty(STDERR_FILENO) != 0) {
    commands_.WindowLoad();
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
    if (out_.error() == EINTR && InterruptSignal() != 0) {
        ended_ = 128 + InterruptSignal();  // stopped while the output waited for its reader
        return false;
    }
    std::fprintf(stderr, "loto-sim: the results cannot be written: %s\n",
                 std::strerror(out_.error()));
    ended_ = kFailed;
    return false;
}

bool Driver::Start() {
    return !options_.csv || Print(CsvHeader(options_.stats));
}

int Driver::Run(const std::vector<std::string>& boxes) {
    HeadlessWindow window(ToInputs(boxes), showProgress_);
    const SimulateReport report = commands_.SimulateCommand(window);
    window.EndProgress();
    std::optional<Significance> stats;
    if (options_.stats && report.outcome == Outcome::Completed) {
        stats = TestSignificance(report.tally, report.drawsDone);
    }
    const CommandResult result{window, report, options_.stats, stats ? &*stats : nullptr};
    if (!Print(Formatted(options_, ++commandsRun_, result))) {
        return *ended_;
    }
    if (report.outcome == Outcome::Stopped) {
        ended_ = 128 + InterruptSignal();
        return *ended_;
    }
    if (report.outcome == Outcome::Completed && report.drawsDone > 0) {
        ChartPoint point = chart_.empty() ? ChartPoint{} : chart_.back();
        point.draws += report.drawsDone;
        for (std::size_t k = 0; k < point.tally.size(); ++k) {
            point.tally[k] += report.tally[k];
        }
        chart_.push_back(point);
    }
    if (report.outcome == Outcome::Unreadable) {
        static constexpr const char* kNames[] = {"DRAWS", "G1", "G2", "G3", "G4", "G5", "G6"};
        const auto box = static_cast<std::size_t>(report.unreadableInput);
        std::fprintf(stderr, "loto-sim: the number in %s is beyond the range of numbers: %s\n",
                     kNames[box], Quoted(boxes.at(box)).c_str());
    }
    return report.outcome == Outcome::Completed ? 0 : kRefused;
}

bool Driver::WriteChart() const {
    if (options_.svg.empty()) {
        return true;
    }
    if (chart_.empty()) {
        std::fprintf(stderr, "loto-sim: no command drew: no chart for %s\n",
                     Quoted(options_.svg).c_str());
        return false;
    }
    // Opening, writing and closing can each fail; the first failure is the one reported.
    std::FILE* file = std::fopen(options_.svg.c_str(), "w");
    int error = file == nullptr ? errno : 0;
    if (file != nullptr) {
        CheckedOutput out(file);
        error = out.Write(ChartSvg(chart_)) ? 0 : out.error();
        if (std::fclose(file) != 0 && error == 0) {
            error = errno;
        }
    }
    if (error != 0) {
        std::fprintf(stderr, "loto-sim: the chart cannot be written to %s: %s\n",
                     Quoted(options_.svg).c_str(), std::strerror(error));
    }
    return error == 0;
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
        status = std::max(status, Run(*fields.boxes));
        if (ended_) {
            return *ended_;
        }
    }
    if (InterruptSignal() != 0) {
        return 128 + InterruptSignal();  // stopped waiting for a line
    }
    if (reader.error() != 0) {
        std::fprintf(stderr, "loto-sim: standard input cannot be read: %s\n",
                     std::strerror(reader.error()));
        return kFailed;
    }
    return status;
}

}  // namespace loto
