#include "core/draws.h"

namespace loto {

DrawRun RunDraws(GeneratorState& state, std::uint64_t count, std::uint64_t gridMask, Tally& tally,
                 EventPumpHook& hook) {
    GeneratorState local = state;
    for (std::uint64_t done = 0; done < count; ++done) {
        if (hook.Due()) [[unlikely]] {
            state = local;
            const bool go_on = hook.Visit({done, count});
            local = state;
            if (!go_on) {
                return {done, true};
            }
        }
        ++tally[static_cast<std::size_t>(DrawMatches(local, gridMask))];
    }
    state = local;
    return {count, false};
}

}  // namespace loto
