// The serial loop for bench/mca.sh: the first six values of a draw, which every draw takes
// without a test, and six steps of the bare chain, each marked for llvm-mca.
#include "core/draws.h"

namespace loto {

int FirstSixValues(GeneratorState& state, const ScoringTable& table) {
    GeneratorState local = state;  // as DrawInto holds it
    std::uint64_t drawn = 0;
    std::uint64_t total = 0;
    __asm__ volatile("# LLVM-MCA-BEGIN serial");
    for (int i = 0; i < kFavouriteCount; ++i) {
        table.Take(NextNumber(local), drawn, total);
    }
    __asm__ volatile("# LLVM-MCA-END serial");
    state = local;
    return static_cast<int>(total);
}

// t = 32353 X + C; X = t mod 2^48; C = floor(t / 2^48) x 10000, summing floor(49 X / 2^48).
std::uint64_t BareChain(std::uint64_t& state, std::uint64_t& carry) {
    std::uint64_t x = state;
    std::uint64_t c = carry;
    std::uint64_t sum = 0;
    __asm__ volatile("# LLVM-MCA-BEGIN chain");
    for (int i = 0; i < kFavouriteCount; ++i) {
        const std::uint64_t t = 32353 * x + c;
        x = t & detail::kLowMask;
        c = (t >> kModulusBits) * 10000;
        sum += (x * 49) >> kModulusBits;
    }
    __asm__ volatile("# LLVM-MCA-END chain");
    state = x;
    carry = c;
    return sum;
}

}  // namespace loto
