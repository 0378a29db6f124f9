#pragma once

#include <array>
#include <cstdint>

namespace loto {

// The numbers of the other players' winners: SplitMix64, the same on every machine and build,
// and a Binomial law drawn from it.
class BinomialSource {
public:
    // A seed names a place in one sequence of 2^64 values; `halfway` starts half of it further,
    // where two sources of one seed never meet.
    explicit BinomialSource(std::uint64_t seed, bool halfway = false) noexcept;

    // Uniform in [0, 1), 53 bits. Inline, as the generator's step: a lottery's rounds draw one
    // at each jackpot's start, tens of millions of times.
    [[nodiscard]] double Uniform() noexcept { return static_cast<double>(Next() >> 11) * 0x1p-53; }

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
    std::uint64_t Next() noexcept {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A standard normal deviate.
    double Normal() noexcept;

    std::uint64_t state_;
    std::array<Law, 4> laws_{};
    std::size_t nextLaw_ = 0;
};

}  // namespace loto
