#include "core/draws.h"

#include <algorithm>

namespace loto {

Numbers DrawNumbers(GeneratorState& state) noexcept {
    Numbers drawn{};
    for (auto next = drawn.begin(); next != drawn.end(); ++next) {
        do {
            *next = NextNumber(state);
        } while (std::find(drawn.begin(), next, *next) != next);
    }
    return drawn;
}

int CountMatches(const Numbers& drawn, const Numbers& grid) noexcept {
    return static_cast<int>(std::count_if(drawn.begin(), drawn.end(), [&grid](int number) {
        return std::find(grid.begin(), grid.end(), number) != grid.end();
    }));
}

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
