#include "core/game_session.h"

#include "core/speed_test.h"

namespace loto {

DrawRule TestRule(const DrawRule& rule) noexcept {
    DrawRule test{.game = rule.game, .main = {}, .second = {}};
    for (int n = 1; n <= rule.main.Count(); ++n) {
        test.main.Add(n);
    }
    for (int n = 1; n <= rule.second.Count(); ++n) {
        test.second.Add(n);
    }
    return test;
}

GameSession::GameSession(RunTime& runTime, unsigned threads, const GeneratorState& start)
    : runTime_(runTime), source_(start), engine_(threads) {}

GameReport GameSession::Simulate(const GameRequest& request, EventPump& pump) {
    GameReport report{.requested = request.requested};
    const DrawRule test = TestRule(request.rule);
    const std::uint64_t testDraws = TestDrawCount(request.requested);
    std::vector<std::uint64_t> testTally(static_cast<std::size_t>(test.tiers()));
    estimateText_.clear();
    inSpeedTest_ = true;
    const double start = runTime_.MonotonicSeconds();
    const bool stopped = engine_.Run(source_.state(), testDraws, test, testTally, pump).stopped;
    inSpeedTest_ = false;
    if (stopped) {
        report.stopped = true;
        return report;
    }
    const SystemTime reference = runTime_.Now();
    ShownEstimate estimate = EstimateShown(
        request.requested, testDraws, runTime_.MonotonicSeconds() - start, reference, runTime_);
    report.estimate = estimate.local;
    report.estimateText = std::move(estimate.text);
    estimateText_ = report.estimateText;
    report.tally.assign(static_cast<std::size_t>(request.rule.tiers()), 0);
    const double drawsStart = runTime_.MonotonicSeconds();
    const DrawRun run = engine_.Run(source_.state(), DrawCount(request.requested), request.rule,
                                    report.tally, pump);
    report.drawSeconds = runTime_.MonotonicSeconds() - drawsStart;
    report.drawsDone = run.done;
    report.stopped = run.stopped;
    return report;
}

}  // namespace loto
