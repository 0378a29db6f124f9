#pragma once

#include <cstdint>
#include <vector>

#include "core/draw_rule.h"
#include "core/draws.h"
#include "core/random_source.h"

namespace loto {

// A stretch of a run's values that another process draws: `chunks` chunks of the engine's size
// from `start`, a state jumped ahead, parsed as if a draw began at its first value.
struct BlockRequest {
    GeneratorState start;
    std::uint64_t chunks = 0;
    unsigned threads = 0;  // as the run's own were asked for: 0, all of the drawing machine's
};

// What a block's guessed draws made: their tally by tier, the draw left open after its last
// value, and the state there.
struct BlockResult {
    std::vector<std::uint64_t> tally;
    OpenDraw tail;
    GeneratorState end;
};

// Other processes that draw blocks of a run (a cluster's ranks), numbered from 1. A run asks each
// for one block, then takes the answers in the order of the blocks.
class DrawPeers {
public:
    virtual ~DrawPeers() = default;
    [[nodiscard]] virtual unsigned count() const noexcept = 0;
    virtual void Ask(unsigned peer, const DrawRule& rule, const BlockRequest& block) = 0;
    [[nodiscard]] virtual BlockResult Answer(unsigned peer, const DrawRule& rule) = 0;
};

}  // namespace loto
