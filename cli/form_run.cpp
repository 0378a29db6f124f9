#include "cli/form_run.h"

#include <optional>

#include "cli/command_run.h"
#include "cli/interrupt.h"
#include "cli/text.h"
#include "core/generator_jump.h"
#include "export/csv.h"
#include "form/command_session.h"
#include "platform/quoted_text.h"

namespace loto {
namespace {

// Why a command drew nothing, on standard error: the output holds only results.
void SayRefused(const SimulateReport& report, const FormModel& model) {
    const std::string name = InputName(report.refusedInput);
    const ControlUse input =
        report.refusedInput == 0 ? Is(Role::DrawCount) : FavouriteAt(report.refusedInput);
    if (report.outcome == Outcome::Unreadable) {
        std::fprintf(stderr, "loto-sim: the number in %s is beyond the range of numbers: %s\n",
                     name.c_str(), Quoted(model.Text(input)).c_str());
    } else {
        std::fprintf(stderr,
                     "loto-sim: grid refused (six different numbers from 1 to 49): %s is %s\n",
                     name.c_str(), Quoted(model.Text(input)).c_str());
    }
}

// One command: the values typed into the boxes, then a click on SIMULER.
void RunOne(CommandRun& run, CommandSession& session, std::span<const std::string_view> values) {
    const CommandSettings& settings = run.settings();
    FormModel& model = session.model();
    model.Typed(Is(Role::DrawCount), values[0]);
    for (int position = 1; position <= kFavouriteCount; ++position) {
        model.Typed(FavouriteAt(position), values[static_cast<std::size_t>(position)]);
    }
    std::optional<SimulateReport> report = session.ClickSimuler(run.pump());
    run.pump().EndProgress();
    if (!report) {
        return;  // the session has stopped: an interrupt is being reported
    }
    if (settings.run.svg && report->completed() && report->drawsDone > 0) {
        const PerRow<double> probabilities = MatchProbabilities();
        run.Chart(report->drawsDone, {report->tally.begin(), report->tally.end()},
                  {probabilities.begin(), probabilities.end()}, MatchRows());
    }
    if (report->refused()) {
        run.Refused();
        SayRefused(*report, model);
    }
    const PrintedCommand printed = MakePrintedCommand(settings.run.stream, run.NextCommand(),
                                                      std::move(*report), settings.stats);
    if (run.Print(Formatted(settings.run.output, printed, run.separator()))) {
        run.EndIfStopped(printed.report.stopped());
    }
}

}  // namespace

ExitStatus RunForm(const FormMode& mode, DrawPeers* peers) {
    std::optional<CommandSession> session;
    CommandRun run(mode.commands, [&session]() -> CommandShown {
        const FormModel& model = session->model();
        return {model.Shown(Shows(Message::Test)), model.Text(Is(Role::Estimate))};
    });
    session.emplace(run.runTime(), mode.commands.run.threads,
                    *StreamStart(mode.commands.run.stream));
    run.SayThreads(session->threads());
    session->Share(peers);
    run.RunCommands(
        stdin, CommandCsvHeader(mode.commands.stats), 1 + kFavouriteCount,
        [&](std::span<const std::string_view> values) { RunOne(run, *session, values); });
    return run.Finish();
}

}  // namespace loto
