// The serial loop for bench/mca.sh: the first six values of a draw, which every draw takes
// without a test, and six steps of the bare chain, each marked for llvm-mca.
#include "bare_chain.h"
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

std::uint64_t SixOfTheBareChain(std::uint64_t& state, std::uint64_t& carry) {
    std::uint64_t x = state;  // in registers, as the bench holds them
    std::uint64_t c = carry;
    __asm__ volatile("# LLVM-MCA-BEGIN chain");
    const std::uint64_t sum = bench::BareChain(x, c, kFavouriteCount);
    __asm__ volatile("# LLVM-MCA-END chain");
    state = x;
    carry = c;
    return sum;
}

}  // namespace loto
