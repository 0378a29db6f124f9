#include "export/printed.h"

namespace loto {

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
