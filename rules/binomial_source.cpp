#include "rules/binomial_source.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace loto {

BinomialSource::BinomialSource(std::uint64_t seed, bool halfway) noexcept
    : state_(seed * 0x9E3779B97F4A7C15ULL + 0x5851F42D4C957F2DULL +
             (halfway ? std::uint64_t{1} << 63 : 0)) {}

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
    return Draw(n, p, false);
}

double BinomialSource::BinomialAtLeastOne(double n, double p) noexcept {
    return Draw(n, p, true);
}

namespace {

// Marsaglia and Tsang's ziggurat of 128 layers under the normal density, in Doornik's form: x[i]
// the layers' edges (x[0] the base's width, that holds the tail), ratio[i] = x[i + 1] / x[i].
struct Ziggurat {
    static constexpr int kLayers = 128;
    static constexpr double kTail = 3.442619855899;       // where the tail begins
    static constexpr double kArea = 9.91256303526217e-3;  // of each layer

    Ziggurat() {
        double f = std::exp(-0.5 * kTail * kTail);
        x[0] = kArea / f;
        x[1] = kTail;
        for (int i = 2; i < kLayers; ++i) {
            x[i] = std::sqrt(-2 * std::log(kArea / x[i - 1] + f));
            f = std::exp(-0.5 * x[i] * x[i]);
        }
        for (int i = 0; i < kLayers; ++i) {
            ratio[i] = x[i + 1] / x[i];
        }
    }

    std::array<double, kLayers + 1> x{};
    std::array<double, kLayers> ratio{};
};

const Ziggurat& TheZiggurat() {
    static const Ziggurat ziggurat;
    return ziggurat;
}

}  // namespace

double BinomialSource::Normal() noexcept {
    // Nearly always one step of the generator: its top bits a point across a layer, its low seven
    // the layer, and the point within the layer's rectangle taken as it is.
    const Ziggurat& zig = TheZiggurat();
    for (;;) {
        const std::uint64_t bits = Next();
        const double u = 2 * (static_cast<double>(bits >> 11) * 0x1p-53) - 1;
        const auto i = static_cast<std::size_t>(bits & 0x7F);
        if (std::abs(u) < zig.ratio[i]) {
            return u * zig.x[i];
        }
        if (i == 0) {
            // The tail beyond kTail, by Marsaglia's method.
            double x = 0, y = 0;
            do {
                x = std::log(1 - Uniform()) / Ziggurat::kTail;
                y = std::log(1 - Uniform());
            } while (-2 * y < x * x);
            return u < 0 ? x - Ziggurat::kTail : Ziggurat::kTail - x;
        }
        const double x = u * zig.x[i];
        const double inner = std::exp(-0.5 * (zig.x[i] * zig.x[i] - x * x));
        const double outer = std::exp(-0.5 * (zig.x[i + 1] * zig.x[i + 1] - x * x));
        if (outer + Uniform() * (inner - outer) < 1) {
            return x;
        }
    }
}

double BinomialSource::Draw(double n, double p, bool atLeastOne) noexcept {
    if (n <= 0 || p <= 0) {
        return 0;
    }
    const double mean = n * p;
    if (mean < 30) {
        const Law& law = LawOf(n, p);
        const double u = atLeastOne ? law.none + (1 - law.none) * Uniform() : Uniform();
        double w = 0;
        double term = law.none;
        double below = term;
        const double odds = law.odds;
        while (u > below && w < n) {
            term *= (n - w) / (w + 1) * odds;
            below += term;
            ++w;
        }
        return atLeastOne ? std::max(w, 1.0) : w;
    }
    // Rounded half up by a conversion, which the baseline instruction set has and std::round is
    // not (from 2^53 on, every double is whole).
    const double near = std::clamp(mean + Normal() * std::sqrt(mean * (1 - p)), 0.0, n);
    const double rounded =
        near < 0x1p53 ? static_cast<double>(static_cast<std::int64_t>(near + 0.5)) : near;
    return std::clamp(rounded, atLeastOne ? 1.0 : 0.0, n);
}

}  // namespace loto
