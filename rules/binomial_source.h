#pragma once

#include <cstdint>

namespace loto {

// The numbers of the other players' winners: SplitMix64, the same on every machine and build,
// and a Binomial law drawn from it.
class BinomialSource {
public:
    explicit BinomialSource(std::uint64_t seed) noexcept;

    // Uniform in [0, 1), 53 bits.
    [[nodiscard]] double Uniform() noexcept;

    // Binomial(n, p): by inversion where n p is under 30, counting up the law from 0; else its
    // normal limit, rounded and held to 0..n.
    [[nodiscard]] double Binomial(double n, double p) noexcept;

private:
    std::uint64_t state_;
};

}  // namespace loto
