#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace loto {

// One pool's draws in draw order: K numbers a draw, one byte each, so that a million draws of six
// numbers take 6 MB. A draw's numbers are distinct, from 1 to N (at most 255), in any order.
struct PoolHistory {
    int drawn = 0;    // K
    int highest = 0;  // N
    std::vector<std::uint8_t> numbers;

    [[nodiscard]] std::size_t draws() const noexcept {
        return drawn > 0 ? numbers.size() / static_cast<std::size_t>(drawn) : 0;
    }
    [[nodiscard]] std::span<const std::uint8_t> Draw(std::size_t t) const noexcept {
        const auto k = static_cast<std::size_t>(drawn);
        return {numbers.data() + t * k, k};
    }
};

}  // namespace loto
