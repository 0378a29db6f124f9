// The lane kernel compiled for WebAssembly's SIMD128, in a web build made with it. It has 64-bit
// products, but shifts all its lanes by one amount: a draw's bookkeeping, which shifts each lane
// by its own number, is made a lane at a time.
#include "core/lane_kernel.h"

namespace loto::lanes {

using VectorSimd128 = std::uint64_t __attribute__((vector_size(16)));

void GenerateSimd128(const GeneratorState* starts, std::uint32_t values, const LaneRule& rule,
                     LaneOutput* out) {
    Generate<VectorSimd128, 1, WideArithmetic<VectorSimd128, false>>(starts, values, rule, out);
}

}  // namespace loto::lanes
