#include "core/game_session.h"

#include "core/speed_test.h"

namespace loto {

DrawRule TestRule(const DrawRule& rule) noexcept {
    return FirstNumbersRule(rule.game, rule.main.Count(), rule.second.Count());
}

GameSession::GameSession(RunTime& runTime, unsigned threads, const GeneratorState& start)
    : runTime_(runTime), source_(start), engine_(threads) {}

GameReport GameSession::Simulate(const GameRequest& request, EventPump& pump) {
    GameReport report{.requested = request.requested};
    if (request.speedTest) {
        const std::optional<SpeedTested> test = TimeSpeedTest(request, pump);
        if (!test) {
            report.stopped = true;
            return report;
        }
        Estimate(request, *test, report);
    }
    DrawRequested(request, report, pump);
    return report;
}

std::optional<GameSession::SpeedTested> GameSession::TimeSpeedTest(const GameRequest& request,
                                                                   EventPump& pump) {
    const DrawRule test = TestRule(request.rule);
    std::vector<std::uint64_t> tally(static_cast<std::size_t>(test.tiers()));
    estimateText_.clear();
    inSpeedTest_ = true;
    const double start = runTime_.MonotonicSeconds();
    const bool stopped =
        engine_.Run(source_.state(), TestDrawCount(request.requested), test, tally, pump).stopped;
    inSpeedTest_ = false;
    if (stopped) {
        return std::nullopt;
    }
    const SystemTime reference = runTime_.Now();
    return SpeedTested{reference, runTime_.MonotonicSeconds() - start};
}

void GameSession::Estimate(const GameRequest& request, const SpeedTested& test,
                           GameReport& report) {
    ShownEstimate estimate = EstimateShown(request.requested, TestDrawCount(request.requested),
                                           test.seconds, test.reference, runTime_);
    report.estimate = estimate.local;
    report.estimateText = std::move(estimate.text);
    estimateText_ = report.estimateText;
}

void GameSession::DrawRequested(const GameRequest& request, GameReport& report, EventPump& pump) {
    report.tally.assign(static_cast<std::size_t>(request.rule.tiers()), 0);
    const double drawsStart = runTime_.MonotonicSeconds();
    const DrawRun run = DrawWatched(request, DrawCount(request.requested), report, pump);
    report.drawSeconds = runTime_.MonotonicSeconds() - drawsStart;
    report.drawsDone = run.done;
    report.stopped = run.stopped;
}

// Watched where the request asks: the engine goes through draw by draw only the chunks whose
// tally holds a tier not yet hit, and ends the command after a draw in an `until` tier.
DrawRun GameSession::DrawWatched(const GameRequest& request, std::uint64_t count,
                                 GameReport& report, EventPump& pump) {
    if (!request.firstHits && request.until.empty()) {
        return engine_.Run(source_.state(), count, request.rule, report.tally, pump);
    }
    report.firstHit.assign(report.tally.size(), 0);
    DrawWatch watch{.firstHit = report.firstHit, .until = request.until};
    const DrawRun run =
        engine_.Run(source_.state(), count, request.rule, report.tally, pump, &watch);
    report.untilHit = watch.ended;
    return run;
}

}  // namespace loto
