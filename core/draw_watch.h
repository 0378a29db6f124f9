#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace loto {

// What a run of draws watches for, where a command asks: the first draw of each tier, counted
// from 1 over the run, and the first draw in one of the `until` tiers, after which the run ends
// with the tally and the generator of the draws up to it. The draws are drawn unwatched and only
// a part whose tally holds a tier not yet hit is gone through draw by draw, so that watching
// costs next to nothing.
struct DrawWatch {
    std::span<std::uint64_t> firstHit;  // by tier; 0 for none yet
    std::span<const int> until;         // tiers
    std::optional<std::uint64_t> ended{};

    // Whether draws that add `added` to a tally (by tier) hold the first draw of a tier.
    [[nodiscard]] bool Fresh(std::span<const std::uint64_t> added) const noexcept;
    // Whether `after` differs from `before` in a tier not yet hit.
    [[nodiscard]] bool Fresh(std::span<const std::uint64_t> before,
                             std::span<const std::uint64_t> after) const noexcept;
    // Draw `draw` of the run (from 1) fell into `tier`: true where it ends the run.
    bool Record(std::size_t tier, std::uint64_t draw) noexcept;
};

}  // namespace loto
