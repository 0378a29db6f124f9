// The AVX512 lane kernel with IFMA's 52-bit multiply-adds and VPOPCNTDQ's bit counts: this file
// alone is built with them, and runs only where the processor has both (Zen 4, Ice Lake and
// later), not on every AVX512 one.
#include <immintrin.h>

#include "core/lane_kernel.h"

namespace loto::lanes {

using VectorAvx512 = std::uint64_t __attribute__((vector_size(64)));

// x times top x 16 splits at bit 52 into the number (the high half) and the distance to its edge
// (the low half, with the guard's offset added by the same instruction): two instructions where
// the shifts take five. A draw is the set of its numbers alone: a bit count of it says when it is
// complete and, with the grid, how many it matches, where counting each number as it comes takes
// six instructions a value.
struct IfmaArithmetic : WideArithmetic<VectorAvx512> {
    using V = VectorAvx512;
    explicit IfmaArithmetic(std::uint64_t poolTop, std::uint64_t guardTop = 0)
        : WideArithmetic(poolTop, guardTop),
          scale(TopOf(poolTop)),
          ifmaGuard((std::max(poolTop, guardTop) + 1) * detail::kGuard << 4),
          offset(_mm512_set1_epi64(static_cast<long long>(ifmaGuard))) {}
    static V Cast(__m512i v) { return reinterpret_cast<V>(v); }
    static __m512i Cast(V v) { return reinterpret_cast<__m512i>(v); }
    static constexpr bool kCountsBits = true;
    static constexpr std::uint64_t kLow52 = (std::uint64_t{1} << 52) - 1;
    static V Count(V v) { return Cast(_mm512_popcnt_epi64(Cast(v))); }
    // The 8-bit tally field's one of a count below 16 in a word of two (0 where the count's field
    // is in the other), from a table: one permutation where a shift and a variable shift take the
    // port that the multiply-adds need.
    static V FieldOf(V count, int word = 0) {
        const __m512i ones = _mm512_set_epi64(1LL << 56, 1LL << 48, 1LL << 40, 1LL << 32, 1LL << 24,
                                              1LL << 16, 1LL << 8, 1LL);
        const __m512i none = _mm512_setzero_si512();
        return Cast(word == 0 ? _mm512_maskz_permutex2var_epi64(0xFF, ones, Cast(count), none)
                              : _mm512_maskz_permutex2var_epi64(0xFF, none, Cast(count), ones));
    }
    // A top as the multiply-adds take it, 16 times over.
    static V TopOf(std::uint64_t poolTop) { return V{} + (poolTop << 4); }
    V Number(V x) const { return Number(x, scale); }
    static V Number(V x, V laneScale, V plus = V{}) {
        return Cast(_mm512_madd52hi_epu64(Cast(plus), Cast(x), Cast(laneScale)));
    }
    // The low half, the offset's carry out of it cleared (an and, where a shift would take the
    // multiply-adds' port): its least over the steps is all a lane keeps.
    static constexpr std::uint64_t kUnseen = ~std::uint64_t{0};
    V Watch(V seen, V x) const { return Watch(seen, x, scale); }
    V Watch(V seen, V x, V laneScale) const {
        const V off = Cast(_mm512_madd52lo_epu64(offset, Cast(x), Cast(laneScale))) & kLow52;
        return seen < off ? seen : off;  // one vpminuq
    }
    // Both pools' numbers, a multiply-add each, then the lane's; the watch, off the chain from
    // one value to the next, multiplies by the lane's top.
    template <typename Mask>
    V PoolNumber(V x, Mask inSecond, V mainScale, V secondScale, V& seen) const {
        seen = Watch(seen, x, inSecond ? secondScale : mainScale);
        return inSecond ? Number(x, secondScale) : Number(x, mainScale);
    }
    bool CameNear(std::uint64_t seen) const { return seen < 2 * ifmaGuard; }
    // Each lane by its own count, to 0 from 64 on (the mask of every lane keeps GCC 12 from
    // warning of the undefined vector that the unmasked form passes).
    static V ShiftLeft(V a, V count) {
        return Cast(_mm512_maskz_sllv_epi64(0xFF, Cast(a), Cast(count)));
    }
    static V ShiftRight(V a, V count) {
        return Cast(_mm512_maskz_srlv_epi64(0xFF, Cast(a), Cast(count)));
    }
    // The generator's step from multiply-adds, which take one instruction where a 64-bit
    // product takes three: t = 32353 x + c splits at bit 52 into hi 2^52 + lo, lo holding c, so
    // x is lo's low 48 bits and the quotient is 16 hi + lo / 2^48; then c = 10,000 q.
    static void Step(V& x, V& c) {
        const __m512i multiplier = _mm512_set1_epi64(kMultiplier);
        const __m512i zero = _mm512_setzero_si512();
        const V low = Cast(_mm512_madd52lo_epu64(Cast(c), Cast(x), multiplier));
        const V high = Cast(_mm512_madd52hi_epu64(zero, Cast(x), multiplier));
        x = low & detail::kLowMask;
        const V quotient = (high << 4) + (low >> kModulusBits);
        c = Cast(_mm512_madd52lo_epu64(zero, Cast(quotient), _mm512_set1_epi64(10000)));
    }

    V scale;
    std::uint64_t ifmaGuard;
    __m512i offset;
};

void GenerateAvx512Ifma(const GeneratorState* starts, std::uint32_t values, const LaneRule& rule,
                        LaneOutput* out) {
    Generate<VectorAvx512, 2, IfmaArithmetic>(starts, values, rule, out);
}

}  // namespace loto::lanes
