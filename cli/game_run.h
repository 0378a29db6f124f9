#pragma once

#include "cli/exit_status.h"
#include "cli/options.h"
#include "core/draw_peers.h"

namespace loto {

// loto-sim's commands of a game, one after the other in one session of that game, each command's
// values a ticket: its tiers, what it costs and wins, its waits; after the last, the waits' test
// against their law or the lifetimes' summary, and the run charted when asked.
[[nodiscard]] ExitStatus RunGame(const GameMode& mode, DrawPeers* peers);

}  // namespace loto
