#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/draw_rule.h"
#include "core/parallel_engine.h"
#include "core/random_source.h"
#include "platform/date_time.h"
#include "platform/event_pump.h"
#include "platform/run_time.h"

namespace loto {

// One command of a game: N draws asked for, as read from its text, against a ticket. As SIMULER
// runs it, after a speed test that gives its estimate; or straight from where the previous command
// ended. Watched, when asked, for the draw at which each tier first comes, and stopped at the
// first draw in one of the `until` tiers.
struct GameRequest {
    double requested = 0;
    DrawRule rule;
    bool speedTest = true;
    bool firstHits = false;
    std::vector<int> until{};  // TierIndex
};

// What a command of a game drew: its estimate, its tally by tier (DrawRule::TierIndex), the draws
// done and their time; stopped when its pump asked it to.
struct GameReport {
    double requested = 0;
    std::optional<LocalDateTime> estimate{};
    std::string estimateText{};
    std::vector<std::uint64_t> tally{};
    std::uint64_t drawsDone = 0;
    double drawSeconds = 0;
    bool stopped = false;
    std::vector<std::uint64_t> firstHit{};    // by TierIndex, the draw from 1; 0 for never
    std::optional<std::uint64_t> untilHit{};  // the draw that fell into an `until` tier
};

// The commands of any game over one generator, one after the other: the one thing that draws for
// every front end. A command runs a speed test of the same game against the ticket 1 to p (and 1
// to q), whose time gives the estimate, then the requested draws; the generator carries over.
class GameSession {
public:
    GameSession(RunTime& runTime, unsigned threads, const GeneratorState& start = kSeedState);

    // The whole command. The pump runs between slices of draws; the command stops when it says so.
    GameReport Simulate(const GameRequest& request, EventPump& pump);

    // Its steps, for a front end that does more between them (the designed form checks its grid
    // after the speed test, and takes the time of nested commands out of the test's). The speed
    // test: the date and time once it is over, then its seconds; none when it was stopped.
    struct SpeedTested {
        SystemTime reference;
        double seconds;
    };
    std::optional<SpeedTested> TimeSpeedTest(const GameRequest& request, EventPump& pump);
    // The estimate of a command whose speed test took that time, into the report.
    void Estimate(const GameRequest& request, const SpeedTested& test, GameReport& report);
    // The requested draws into the report, watched as the request asks.
    void DrawRequested(const GameRequest& request, GameReport& report, EventPump& pump);

    // What the running command shows: whether it is in its speed test, its estimate once known.
    [[nodiscard]] bool inSpeedTest() const noexcept { return inSpeedTest_; }
    [[nodiscard]] const std::string& estimateText() const noexcept { return estimateText_; }
    [[nodiscard]] const GeneratorState& state() const noexcept { return source_.state(); }
    // For a process that draws on the session's generator and engine, between commands.
    [[nodiscard]] GeneratorState& state() noexcept { return source_.state(); }
    [[nodiscard]] ParallelDrawEngine& engine() noexcept { return engine_; }
    [[nodiscard]] unsigned threads() const noexcept { return engine_.threads(); }
    // Other processes to share long runs' draws with (a cluster's ranks).
    void Share(DrawPeers* peers) noexcept { engine_.Share(peers); }

private:
    // The draws of a request, watched as it asks.
    DrawRun DrawWatched(const GameRequest& request, std::uint64_t count, GameReport& report,
                        EventPump& pump);

    RunTime& runTime_;
    RandomSource source_;
    ParallelDrawEngine engine_;
    bool inSpeedTest_ = false;
    std::string estimateText_;
};

// The ticket 1 to p of the main pool and 1 to q of the second of `rule`, as the speed test draws
// against it.
[[nodiscard]] DrawRule TestRule(const DrawRule& rule) noexcept;

}  // namespace loto
