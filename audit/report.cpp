#include "audit/report.h"

namespace loto {

Game GuessedGame(const History& history, bool bonus) noexcept {
    return {.main = history.main, .bonus = bonus, .second = history.second};
}

std::optional<UntestableHistory> WhyUntestable(const History& history) noexcept {
    if (history.main.draws() == 0) {
        return UntestableHistory{history.setAside.empty() ? Untestable::NoDraw
                                                          : Untestable::AllSetAside};
    }
    for (const PoolHistory* pool : {&history.main, &history.second}) {
        if (pool->drawn > 0 && pool->drawn >= pool->top) {
            return UntestableHistory{Untestable::EveryNumber, pool->top};
        }
    }
    return std::nullopt;
}

}  // namespace loto
