#include "cli/printed_command.h"

#include <cmath>

namespace loto {

std::optional<float> PrintedCommand::Expected(int k) const {
    return completed() ? std::optional(report.expected.at(static_cast<std::size_t>(k)))
                       : std::nullopt;
}

std::optional<double> PrintedCommand::Deviation(int k) const {
    const double deviation = report.deviations.at(static_cast<std::size_t>(k));
    return completed() && std::isfinite(deviation) ? std::optional(deviation) : std::nullopt;
}

PrintedCommand MakePrintedCommand(std::uint64_t stream, int command, SimulateReport report,
                                  bool statsAsked) {
    std::optional<Significance> stats =
        statsAsked ? TestSignificance(report.tally, report.drawsDone) : std::nullopt;
    return {.stream = stream,
            .command = command,
            .report = std::move(report),
            .statsAsked = statsAsked,
            .stats = std::move(stats)};
}

std::string InputName(int input) {
    if (input == 0) {
        return "DRAWS";
    }
    std::string name = "G";
    return name.append(std::to_string(input));
}

}  // namespace loto
