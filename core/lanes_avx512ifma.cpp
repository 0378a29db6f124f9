// The AVX512 lane kernel with IFMA's 52-bit multiply-adds: this file alone is built with them, and
// runs only where the processor has them (Zen 4, Ice Lake and later), not on every AVX512 one.
#include <immintrin.h>

#include "core/lane_kernel.h"

namespace loto::lanes {

using VectorAvx512 = std::uint64_t __attribute__((vector_size(64)));

// x times 49 x 16 splits at bit 52 into the number (the high half) and the distance to its edge
// (the low half, with the guard's offset added by the same instruction): two instructions where
// the shifts take five.
struct IfmaArithmetic : WideArithmetic<VectorAvx512> {
    using V = VectorAvx512;
    static constexpr std::uint64_t kWideGuard = 50 * detail::kGuard << 4;
    static V Cast(__m512i v) { return reinterpret_cast<V>(v); }
    static __m512i Cast(V v) { return reinterpret_cast<__m512i>(v); }
    static V Number(V x) {
        return Cast(
            _mm512_madd52hi_epu64(_mm512_setzero_si512(), Cast(x), _mm512_set1_epi64(49 << 4)));
    }
    static V Watch(V seen, V x) {
        const V off = Cast(_mm512_madd52lo_epu64(_mm512_set1_epi64(kWideGuard), Cast(x),
                                                 _mm512_set1_epi64(49 << 4)));
        return seen | ((off & ((std::uint64_t{1} << 52) - 1)) - 2 * kWideGuard);
    }
};

void GenerateAvx512Ifma(const GeneratorState* starts, std::uint32_t values, std::uint64_t gridMask,
                        LaneOutput* out) {
    Generate<VectorAvx512, 1, IfmaArithmetic>(starts, values, gridMask, out);
}

}  // namespace loto::lanes
