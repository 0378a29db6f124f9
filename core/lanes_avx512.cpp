// The lane kernel compiled for AVX512: this file alone is built with those instructions, and
// runs only where the processor has them.
#include <immintrin.h>

#include "core/lane_kernel.h"

namespace loto::lanes {

using VectorAvx512 = std::uint64_t __attribute__((vector_size(64)));

struct Avx512Arithmetic : WideArithmetic<VectorAvx512> {
    using WideArithmetic::WideArithmetic;
    // Each lane by its own count, to 0 from 64 on (the mask of every lane keeps GCC 12 from
    // warning of the undefined vector that the unmasked form passes).
    static VectorAvx512 ShiftLeft(VectorAvx512 a, VectorAvx512 count) {
        return reinterpret_cast<VectorAvx512>(_mm512_maskz_sllv_epi64(
            0xFF, reinterpret_cast<__m512i>(a), reinterpret_cast<__m512i>(count)));
    }
    static VectorAvx512 ShiftRight(VectorAvx512 a, VectorAvx512 count) {
        return reinterpret_cast<VectorAvx512>(_mm512_maskz_srlv_epi64(
            0xFF, reinterpret_cast<__m512i>(a), reinterpret_cast<__m512i>(count)));
    }
};

void GenerateAvx512(const GeneratorState* starts, std::uint32_t values, const LaneRule& rule,
                    LaneOutput* out) {
    Generate<VectorAvx512, 2, Avx512Arithmetic>(starts, values, rule, out);
}

}  // namespace loto::lanes
