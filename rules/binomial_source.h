#pragma once

#include <array>
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
    // Binomial(n, p) given that it is at least 1, as the same law drawn: by inversion from P(0)
    // on, or its normal limit held to 1..n.
    [[nodiscard]] double BinomialAtLeastOne(double n, double p) noexcept;

private:
    // What the law of the last few p holds whatever n, and its first term for the last n: a
    // lottery's rounds ask the same few laws draw after draw (n changing with the sales), and
    // the logarithm and exponential are most of a draw's time.
    struct Law {
        double p = -1;
        double log = 0;   // log(1 - p)
        double odds = 0;  // p / (1 - p)
        double n = -1;
        double none = 0;  // P(0) = (1 - p)^n
    };
    const Law& LawOf(double n, double p) noexcept;
    double Draw(double n, double p, bool atLeastOne) noexcept;
    // The generator's next 64 bits.
    std::uint64_t Next() noexcept;
    // A standard normal deviate.
    double Normal() noexcept;

    std::uint64_t state_;
    std::array<Law, 4> laws_{};
    std::size_t nextLaw_ = 0;
};

}  // namespace loto
