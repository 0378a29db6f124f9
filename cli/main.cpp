// loto-sim: the window's commands without the window, for scripts and very large runs.
#include <unistd.h>

#include <iostream>
#include <optional>
#include <string>

#include "cli/headless_window.h"
#include "cli/options.h"
#include "cli/report.h"
#include "core/commands.h"
#include "platform/system_run_time.h"

namespace {

using loto::HeadlessWindow;

constexpr int kRefused = 1;
constexpr int kUsageError = 2;
constexpr std::size_t kBoxCount = 7;

HeadlessWindow::Inputs ToInputs(const std::vector<std::string>& boxes) {
    HeadlessWindow::Inputs inputs;
    inputs.drawCount = boxes.at(0);
    for (std::size_t i = 0; i < inputs.favourites.size(); ++i) {
        inputs.favourites[i] = boxes.at(i + 1);
    }
    return inputs;
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == ';') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back().push_back(c);
        }
    }
    return fields;
}

class Driver {
public:
    explicit Driver(const loto::Options& options)
        : options_(options),
          runTime_(loto::TextLocale(options.locale)),
          commands_(runTime_, options.threads),
          showProgress_(isatty(STDERR_FILENO) != 0) {
        commands_.WindowLoad();
    }

    // Runs one command as a click on SIMULER; returns its exit status.
    int Run(const std::vector<std::string>& boxes) {
        HeadlessWindow window(ToInputs(boxes), showProgress_);
        const loto::SimulateReport report = commands_.SimulateCommand(window);
        window.EndProgress();
        std::optional<loto::Significance> stats;
        if (options_.stats && report.outcome == loto::Outcome::Completed) {
            stats = loto::TestSignificance(report.tally, report.drawsDone);
        }
        const loto::CommandResult result{window, report, options_.stats, stats ? &*stats : nullptr};
        if (options_.json) {
            std::cout << loto::ReportJson(result).dump() << '\n';
        } else if (options_.csv) {
            std::cout << loto::CsvRows(++commandsRun_, result);
        } else {
            std::cout << loto::ReportText(result);
        }
        std::cout.flush();
        if (report.outcome == loto::Outcome::Unreadable) {
            static constexpr const char* kNames[] = {"DRAWS", "G1", "G2", "G3", "G4", "G5", "G6"};
            std::cerr << "loto-sim: the number in " << kNames[report.unreadableInput]
                      << " is beyond the range of numbers: "
                      << boxes.at(static_cast<std::size_t>(report.unreadableInput)) << '\n';
        }
        return report.outcome == loto::Outcome::Completed ? 0 : kRefused;
    }

    int RunBatch(std::istream& in) {
        int status = 0;
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            if (line.find_first_not_of(" \t\r") == std::string::npos) {
                continue;
            }
            const std::vector<std::string> fields = SplitFields(line);
            if (fields.size() != kBoxCount) {
                std::cerr << "loto-sim: line " << number << ": expected 7 fields separated by ';'"
                          << ", found " << fields.size() << '\n';
                return kUsageError;
            }
            status = std::max(status, Run(fields));
        }
        return status;
    }

private:
    const loto::Options& options_;
    loto::SystemRunTime runTime_;
    loto::LotoCommands commands_;
    bool showProgress_;
    int commandsRun_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const loto::ParsedOptions parsed = loto::ParseOptions(argc, argv);
    if (!parsed.options) {
        return parsed.exitStatus;
    }
    const loto::Options& options = *parsed.options;
    Driver driver(options);
    if (options.csv) {
        std::cout << loto::CsvHeader(options.stats);
    }
    if (options.batch) {
        return driver.RunBatch(std::cin);
    }
    int status = 0;
    for (int i = 0; i < options.repeat; ++i) {
        status = std::max(status, driver.Run(options.boxes));
    }
    return status;
}
