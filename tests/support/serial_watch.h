#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/draws.h"

namespace loto::test {

// The reference of a watched run: one draw after another from `start`, the first draw of each
// tier, and the state after `draws` draws or after the first in a tier of `until`.
struct SerialWatch {
    std::vector<std::uint64_t> tally, firstHit;
    GeneratorState state;
    std::uint64_t done = 0;
};

inline SerialWatch DrawSerially(const DrawRule& rule, std::uint64_t draws,
                                const std::vector<int>& until,
                                const GeneratorState& start = kSeedState) {
    const auto tiers = static_cast<std::size_t>(rule.tiers());
    SerialWatch serial{.tally = std::vector<std::uint64_t>(tiers),
                       .firstHit = std::vector<std::uint64_t>(tiers),
                       .state = start};
    while (serial.done < draws) {
        std::vector<std::uint64_t> one(tiers);
        DrawInto(serial.state, 1, rule, one);
        const auto tier = static_cast<std::size_t>(std::ranges::find(one, 1) - one.begin());
        ++serial.tally[tier];
        ++serial.done;
        if (serial.firstHit[tier] == 0) {
            serial.firstHit[tier] = serial.done;
        }
        if (std::ranges::find(until, static_cast<int>(tier)) != until.end()) {
            break;
        }
    }
    return serial;
}

}  // namespace loto::test
