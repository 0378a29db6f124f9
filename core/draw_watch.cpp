#include "core/draw_watch.h"

#include <algorithm>

namespace loto {

bool DrawWatch::Fresh(std::span<const std::uint64_t> added) const noexcept {
    for (std::size_t tier = 0; tier < added.size(); ++tier) {
        if (added[tier] != 0 && firstHit[tier] == 0) {
            return true;
        }
    }
    return false;
}

bool DrawWatch::Fresh(std::span<const std::uint64_t> before,
                      std::span<const std::uint64_t> after) const noexcept {
    for (std::size_t tier = 0; tier < after.size(); ++tier) {
        if (after[tier] != before[tier] && firstHit[tier] == 0) {
            return true;
        }
    }
    return false;
}

bool DrawWatch::Record(std::size_t tier, std::uint64_t draw) noexcept {
    if (firstHit[tier] == 0) {
        firstHit[tier] = draw;
    }
    if (std::find(until.begin(), until.end(), static_cast<int>(tier)) != until.end()) {
        ended = draw;
    }
    return ended.has_value();
}

}  // namespace loto
