// The AVX512 lane kernel with IFMA's 52-bit multiply-adds and VPOPCNTDQ's bit counts: this file
// alone is built with them, and runs only where the processor has both (Zen 4, Ice Lake and
// later), not on every AVX512 one.
#include <immintrin.h>

#include "core/lane_kernel.h"

namespace loto::lanes {

using VectorAvx512 = std::uint64_t __attribute__((vector_size(64)));

// x times 49 x 16 splits at bit 52 into the number (the high half) and the distance to its edge
// (the low half, with the guard's offset added by the same instruction): two instructions where
// the shifts take five. A draw is the set of its numbers alone: a bit count of it says when it is
// complete and, with the grid, how many it matches, where counting each number as it comes takes
// six instructions a value.
struct IfmaArithmetic : WideArithmetic<VectorAvx512> {
    using V = VectorAvx512;
    static constexpr std::uint64_t kWideGuard = 50 * detail::kGuard << 4;
    static V Cast(__m512i v) { return reinterpret_cast<V>(v); }
    static __m512i Cast(V v) { return reinterpret_cast<__m512i>(v); }
    static constexpr bool kCountsBits = true;
    static V Count(V v) { return Cast(_mm512_popcnt_epi64(Cast(v))); }
    static V Number(V x) {
        return Cast(
            _mm512_madd52hi_epu64(_mm512_setzero_si512(), Cast(x), _mm512_set1_epi64(49 << 4)));
    }
    // The low half shifted to the top of the word: its least over the steps is all a lane keeps.
    static constexpr std::uint64_t kUnseen = ~std::uint64_t{0};
    static V Watch(V seen, V x) {
        const V off = Cast(_mm512_madd52lo_epu64(_mm512_set1_epi64(kWideGuard), Cast(x),
                                                 _mm512_set1_epi64(49 << 4)));
        const V top = off << 12;
        return seen < top ? seen : top;  // one vpminuq
    }
    static bool CameNear(std::uint64_t seen) { return seen < (2 * kWideGuard << 12); }
};

void GenerateAvx512Ifma(const GeneratorState* starts, std::uint32_t values, std::uint64_t gridMask,
                        LaneOutput* out) {
    Generate<VectorAvx512, 1, IfmaArithmetic>(starts, values, gridMask, out);
}

}  // namespace loto::lanes
