#pragma once

#include <optional>

#include "report/game_figures.h"
#include "stats/lifetimes.h"
#include "stats/waits_law.h"

namespace loto {

// What a run of several commands of a game shows after its last: the waits of commands drawn
// until a tier, against the geometric law, and the nets of lifetimes of play.
class RunSummary {
public:
    // Which the run keeps: the waits where it repeats a command drawn until a tier, the nets
    // where each command is a lifetime.
    RunSummary(bool waits, bool lifetimes) : keepWaits_(waits), keepLifetimes_(lifetimes) {}

    // After each command that completed.
    void Add(const GameFigures& figures);

    // The waits and their test, once a command was drawn until a tier that can be hit.
    struct Waits {
        WaitsSample sample;
        WaitsTest test;
    };
    [[nodiscard]] std::optional<Waits> waits() const;
    [[nodiscard]] std::optional<Lifetimes::Summary> lifetimes() const;

private:
    bool keepWaits_;
    bool keepLifetimes_;
    std::optional<WaitsSample> waits_;
    std::optional<Lifetimes> lifetimes_;
};

}  // namespace loto
