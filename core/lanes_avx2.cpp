// The lane kernel compiled for AVX2: this file alone is built with those instructions, and
// runs only where the processor has them.
#include <immintrin.h>

#include "core/lane_kernel.h"

namespace loto::lanes {

using VectorAvx2 = std::uint64_t __attribute__((vector_size(32)));

// AVX2 has no 64-bit multiply; vpmuludq multiplies the low 32 bits of each lane.
struct Avx2Products {
    static VectorAvx2 Low32(VectorAvx2 a, VectorAvx2 b) {
        return reinterpret_cast<VectorAvx2>(
            _mm256_mul_epu32(reinterpret_cast<__m256i>(a), reinterpret_cast<__m256i>(b)));
    }
    static VectorAvx2 MinLow32(VectorAvx2 a, VectorAvx2 b) {
        return reinterpret_cast<VectorAvx2>(
            _mm256_min_epu32(reinterpret_cast<__m256i>(a), reinterpret_cast<__m256i>(b)));
    }
    // Each lane by its own count, to 0 from 64 on.
    static VectorAvx2 ShiftLeft(VectorAvx2 a, VectorAvx2 count) {
        return reinterpret_cast<VectorAvx2>(
            _mm256_sllv_epi64(reinterpret_cast<__m256i>(a), reinterpret_cast<__m256i>(count)));
    }
    static VectorAvx2 ShiftRight(VectorAvx2 a, VectorAvx2 count) {
        return reinterpret_cast<VectorAvx2>(
            _mm256_srlv_epi64(reinterpret_cast<__m256i>(a), reinterpret_cast<__m256i>(count)));
    }
};

void GenerateAvx2(const GeneratorState* starts, std::uint32_t values, const LaneRule& rule,
                  LaneOutput* out) {
    Generate<VectorAvx2, 2, NarrowArithmetic<VectorAvx2, Avx2Products>>(starts, values, rule, out);
}

}  // namespace loto::lanes
