#include "audit/fair_histories.h"

#include <array>
#include <numeric>

namespace loto {
namespace {

constexpr std::uint64_t kCalibrationSeed = 0x6c6f746f2d343921;  // fixed: same file, same p-values

// SplitMix64 (Steele, Lea and Flood, 2014): one add and a mix a value.
class SplitMix {
public:
    explicit SplitMix(std::uint64_t seed) noexcept : state_(seed) {}

    std::uint64_t Next() noexcept {
        std::uint64_t z = state_ += 0x9e3779b97f4a7c15;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }

    // Uniform in [0, range) for range >= 1: the high half of a 32-bit value times the range,
    // the values of the low half that would favour some results drawn again (Lemire, 2019).
    std::uint32_t Below(std::uint32_t range) noexcept {
        std::uint64_t product = (Next() >> 32) * range;
        if (static_cast<std::uint32_t>(product) < range) {
            const std::uint32_t threshold = (0u - range) % range;
            while (static_cast<std::uint32_t>(product) < threshold) {
                product = (Next() >> 32) * range;
            }
        }
        return static_cast<std::uint32_t>(product >> 32);
    }

private:
    std::uint64_t state_;
};

}  // namespace

void FillFairHistory(std::uint64_t seed, PoolHistory& history) noexcept {
    SplitMix random(seed);
    std::array<std::uint8_t, 256> deck{};
    std::iota(deck.begin(), deck.end(), 1);
    const auto k = static_cast<std::uint32_t>(history.drawn);
    const auto n = static_cast<std::uint32_t>(history.top);
    for (auto out = history.numbers.begin(); out != history.numbers.end();) {
        for (std::uint32_t i = 0; i < k; ++i, ++out) {
            const std::uint32_t j = i + random.Below(n - i);
            std::swap(deck[i], deck[j]);
            *out = deck[i];
        }
    }
}

FairHistorySource FairHistories(std::uint64_t family) {
    return [family](std::uint64_t replicate, PoolHistory& history) {
        // Distinct seeds for distinct (family, replicate): SplitMix's mix spreads them apart.
        FillFairHistory(kCalibrationSeed ^ (family << 48) ^ replicate, history);
    };
}

}  // namespace loto
