#include "core/grid_check.h"

#include <algorithm>
#include <cmath>

namespace loto {
namespace {

template <class T>
bool HasRepeat(const std::array<T, 6>& values) {
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (std::find(std::next(it), values.end(), *it) != values.end()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<Numbers> GridCheck(const EnteredGrid& entered) noexcept {
    const bool outOfRange =
        std::any_of(entered.begin(), entered.end(), [](double e) { return e < 1 || e > 49; });
    if (outOfRange || HasRepeat(entered)) {
        return std::nullopt;
    }
    Numbers matching{};
    std::transform(entered.begin(), entered.end(), matching.begin(),
                   [](double e) { return static_cast<int>(std::nearbyint(e)); });
    if (HasRepeat(matching)) {
        return std::nullopt;
    }
    return matching;
}

}  // namespace loto
