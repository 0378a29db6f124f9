#include "cli/command_run.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/batch_input.h"
#include "cli/interrupt.h"
#include "core/parallel_engine.h"
#include "platform/line_reader.h"
#include "platform/quoted_text.h"

namespace loto {

CommandRun::CommandRun(const CommandSettings& settings, std::function<CommandShown()> shown)
    : settings_(settings),
      runTime_(TextLocale(settings.run.locale)),
      pump_(isatty(STDERR_FILENO) != 0, runTime_.DecimalSeparator(), std::move(shown)) {}

void CommandRun::SayThreads(unsigned started) const {
    const unsigned asked = ParallelDrawEngine::ResolveThreads(settings_.run.threads);
    if (started < asked) {
        std::fprintf(stderr, "loto-sim: only %u of the %u threads asked for could start\n", started,
                     asked);
    }
}

bool CommandRun::Print(const std::string& text) {
    const ExitStatus status = WriteResults(out_, text);
    if (status != ExitStatus::Drew) {
        ended_ = status;
    }
    return status == ExitStatus::Drew;
}

void CommandRun::EndIfStopped(bool stopped) noexcept {
    if (stopped && !ended_) {
        ended_ = SignalStatus(InterruptSignal());
    }
}

void CommandRun::RunCommands(std::FILE* input, const std::string& csvHeader, std::size_t fields,
                             const Command& command) {
    if (settings_.run.output == Output::Csv && !Print(csvHeader)) {
        return;
    }
    // A command that draws nothing never visits the pump, which is where an interrupt is heard.
    const Command heard = [&](std::span<const std::string_view> values) {
        if (InterruptSignal() != 0) {
            ended_ = SignalStatus(InterruptSignal());
            return;
        }
        pump_.StartCommand();
        command(values);
    };
    if (settings_.batch) {
        RunBatch(input, fields, heard);
        return;
    }
    const std::vector<std::string_view> values(settings_.values.begin(), settings_.values.end());
    for (int i = 0; i < settings_.repeat && !ended_; ++i) {
        heard(values);
    }
}

void CommandRun::RunBatch(std::FILE* input, std::size_t fields, const Command& command) {
    LineReader reader(input);
    while (const std::optional<std::string_view> line = reader.Next()) {
        if (InterruptSignal() != 0) {
            break;  // said below; an endless input of blank lines runs no command that would hear
                    // it
        }
        if (IsBlankLine(*line)) {
            continue;
        }
        const std::vector<std::string_view> values = SplitFields(*line);
        if (fields != 0 && values.size() != fields) {
            std::fprintf(stderr,
                         "loto-sim: line %llu: expected %zu fields separated by ';', found %zu\n",
                         static_cast<unsigned long long>(reader.number()), fields, values.size());
            ended_ = ExitStatus::Usage;
            return;
        }
        command(values);
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

void CommandRun::Chart(std::uint64_t draws, const std::vector<std::uint64_t>& counts,
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

ExitStatus CommandRun::WriteChart(const std::optional<std::string>& svg) const {
    if (!settings_.run.svg) {
        return ExitStatus::Drew;
    }
    if (svg) {
        return WriteChartFile(*settings_.run.svg, *svg);
    }
    const std::string quoted = Quoted(*settings_.run.svg);
    if (!chart_) {
        std::fprintf(stderr, "loto-sim: no command drew: no chart for %s\n", quoted.c_str());
        return ExitStatus::Failed;
    }
    if (chartRowsDiffer_) {
        std::fprintf(stderr, "loto-sim: the commands' tiers differ: no chart for %s\n",
                     quoted.c_str());
        return ExitStatus::Failed;
    }
    return WriteChartFile(*settings_.run.svg, ChartSvg(*chart_, chartRows_));
}

ExitStatus CommandRun::Finish(const std::optional<std::string>& svg) {
    const ExitStatus chart = WriteChart(svg);
    if (ended_) {
        return *ended_;
    }
    if (chart != ExitStatus::Drew) {
        return chart;
    }
    return refused_ ? ExitStatus::Failed : ExitStatus::Drew;
}

}  // namespace loto
