#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/prizes.h"

namespace loto {

// Lifetimes of play, each `draws` draws of one ticket, and what they netted against the exact law
// of a lifetime's net: the sum of `draws` independent draws, its mean draws x (E - cost) and its
// variance draws x Var. One number kept a lifetime.
class Lifetimes {
public:
    Lifetimes(std::uint64_t draws, const MoneyLaw& law) : draws_(draws), law_(law) {}

    void Add(Cents net) { nets_.push_back(net); }

    struct Summary {
        std::size_t lifetimes = 0;
        double ahead = 0;  // the share that ended above 0
        Cents median = 0;  // nearest rank, as are the percentiles
        Cents p01 = 0;
        Cents p99 = 0;
        double mean = 0;  // in cents, as the rest
        double sd = 0;
        double expectedNet = 0;
        double expectedSd = 0;
    };
    // None before the first lifetime.
    [[nodiscard]] std::optional<Summary> Summarise() const;

private:
    std::uint64_t draws_;
    MoneyLaw law_;
    std::vector<Cents> nets_;
};

// The value at nearest rank ceil(q n) of sorted values, q in (0, 1].
[[nodiscard]] Cents NearestRank(const std::vector<Cents>& sorted, double q);

}  // namespace loto
