#include "rules/binomial_source.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace loto {

BinomialSource::BinomialSource(std::uint64_t seed) noexcept
    : state_(seed * 0x9E3779B97F4A7C15ULL + 0x5851F42D4C957F2DULL) {}

double BinomialSource::Uniform() noexcept {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<double>((z ^ (z >> 31)) >> 11) * 0x1p-53;
}

const BinomialSource::Law& BinomialSource::LawOf(double n, double p) noexcept {
    Law* found = nullptr;
    for (Law& law : laws_) {
        if (law.p == p) {
            found = &law;
        }
    }
    if (found == nullptr) {
        found = &laws_[nextLaw_];
        nextLaw_ = (nextLaw_ + 1) % laws_.size();
        *found = {.p = p, .log = std::log1p(-p), .odds = p / (1 - p)};
    }
    if (found->n != n) {
        found->n = n;
        found->none = std::exp(n * found->log);
    }
    return *found;
}

double BinomialSource::Binomial(double n, double p) noexcept {
    if (n <= 0 || p <= 0) {
        return 0;
    }
    const double mean = n * p;
    if (mean < 30) {
        const double u = Uniform();
        const Law& law = LawOf(n, p);
        double w = 0;
        double term = law.none;
        double below = term;
        const double odds = law.odds;
        while (u > below && w < n) {
            term *= (n - w) / (w + 1) * odds;
            below += term;
            ++w;
        }
        return w;
    }
    const double z =
        std::sqrt(-2 * std::log(1 - Uniform())) * std::cos(2 * std::numbers::pi * Uniform());
    return std::clamp(std::round(mean + z * std::sqrt(mean * (1 - p))), 0.0, n);
}

}  // namespace loto
