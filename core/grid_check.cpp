#include "core/grid_check.h"

#include <algorithm>
#include <cmath>

namespace loto {
namespace {

int Rounded(double value) {
    return static_cast<int>(std::nearbyint(value));  // halves to even
}

}  // namespace

int OffendingFavourite(const EnteredGrid& entered) noexcept {
    const auto outOfRange =
        std::find_if(entered.begin(), entered.end(), [](double e) { return e < 1 || e > 49; });
    if (outOfRange != entered.end()) {
        return static_cast<int>(outOfRange - entered.begin()) + 1;
    }
    for (std::size_t i = 1; i < entered.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (entered[j] == entered[i] || Rounded(entered[j]) == Rounded(entered[i])) {
                return static_cast<int>(i) + 1;
            }
        }
    }
    return 0;
}

std::optional<Numbers> GridCheck(const EnteredGrid& entered) noexcept {
    if (OffendingFavourite(entered) != 0) {
        return std::nullopt;
    }
    Numbers matching{};
    std::transform(entered.begin(), entered.end(), matching.begin(), Rounded);
    return matching;
}

}  // namespace loto
