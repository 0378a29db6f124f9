#include "core/game_session.h"

#include <algorithm>

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

namespace {

// Draws that a run has watched so far: the tally, the first draw of each tier, and the draw that
// ended it in an `until` tier.
struct Watched {
    const DrawRule& rule;
    const std::vector<int>& until;
    std::vector<std::uint64_t>& tally;
    std::vector<std::uint64_t>& firstHit;
    std::uint64_t done = 0;
    std::optional<std::uint64_t> ended{};
    bool halted = false;  // a stop was asked: no further part is drawn

    [[nodiscard]] bool Ends(std::size_t tier) const {
        return std::find(until.begin(), until.end(), static_cast<int>(tier)) != until.end();
    }
    // Whether draws that left `after` from `before` hold the first draw of a tier.
    [[nodiscard]] bool Fresh(const std::vector<std::uint64_t>& before,
                             const std::vector<std::uint64_t>& after) const {
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i] == 0 && after[i] > 0) {
                return true;
            }
        }
        return false;
    }

    // `count` draws from `state` in parts, each drawn by `draw` (state, draws, tally): a part
    // that holds a first draw is drawn again in smaller parts, down to one draw at a time, which
    // finds it; the draws stop after one in an `until` tier, or once halted.
    template <typename DrawPart>
    void Draw(GeneratorState& state, std::uint64_t count, const DrawPart& draw) {
        constexpr std::uint64_t kParts = 16;
        const std::uint64_t part = count <= kParts ? 1 : (count + kParts - 1) / kParts;
        for (std::uint64_t start = 0; start < count && !ended && !halted;) {
            const std::uint64_t draws = std::min(part, count - start);
            const GeneratorState from = state;
            std::vector<std::uint64_t> after = tally;
            draw(state, draws, after);
            if (!Fresh(tally, after)) {
                tally = std::move(after);
                done += draws;
            } else if (draws > 1) {
                state = from;
                Draw(state, draws, draw);
            } else {
                const auto tier = static_cast<std::size_t>(
                    std::mismatch(tally.begin(), tally.end(), after.begin()).first - tally.begin());
                tally = std::move(after);
                firstHit[tier] = ++done;
                if (Ends(tier)) {
                    ended = done;
                }
            }
            start += draws;
        }
    }
};

}  // namespace

// In slices, on every thread; a slice in which a tier came for the first time is drawn again
// from its start in parts, which finds that draw, and ends the command where it is one of the
// `until` tiers: the tally and the generator are then those after that draw. A slice is drawn
// twice at most, each time a tier first comes.
DrawRun GameSession::DrawWatched(const GameRequest& request, std::uint64_t count,
                                 GameReport& report, EventPump& pump) {
    const DrawRule& rule = request.rule;
    if (!request.firstHits && request.until.empty()) {
        return engine_.Run(source_.state(), count, rule, report.tally, pump);
    }
    constexpr std::uint64_t kSlice = 1 << 22;   // draws; one drawn again, tens of milliseconds
    constexpr std::uint64_t kShared = 1 << 16;  // draws worth sharing among the threads
    report.firstHit.assign(report.tally.size(), 0);
    Watched watched{
        .rule = rule, .until = request.until, .tally = report.tally, .firstHit = report.firstHit};
    while (watched.done < count) {
        const GeneratorState start = source_.state();
        std::vector<std::uint64_t> after = report.tally;
        const DrawRun run =
            engine_.Run(source_.state(), std::min(count - watched.done, kSlice), rule, after, pump);
        bool stopAsked = run.stopped;
        if (watched.Fresh(report.tally, after)) {
            GeneratorState state = start;
            // Drawn again in parts, between which the pump runs as it does between slices: one
            // thread in a page takes a good part of a second for a slice, and a huge game's
            // slice some seconds. A stop asked meanwhile ends the command after the part.
            watched.halted = stopAsked;
            watched.Draw(
                state, run.done,
                [&](GeneratorState& from, std::uint64_t draws, std::vector<std::uint64_t>& into) {
                    watched.halted = !pump.ProcessEvents({.done = watched.done, .total = count});
                    draws >= kShared ? engine_.Draw(from, draws, rule, into)
                                     : DrawInto(from, draws, rule, into);
                });
            if (watched.ended || watched.halted) {
                source_.state() = state;
                report.untilHit = watched.ended;
                return {.done = watched.done, .stopped = !watched.ended};
            }
        } else {
            report.tally = std::move(after);
            watched.done += run.done;
        }
        if (stopAsked) {
            return {.done = watched.done, .stopped = true};
        }
    }
    return {.done = watched.done, .stopped = false};
}

}  // namespace loto
