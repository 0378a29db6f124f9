// The lane kernel compiled for AVX512: this file alone is built with those instructions, and
// runs only where the processor has them.
#include "core/lane_kernel.h"

namespace loto::lanes {

using VectorAvx512 = std::uint64_t __attribute__((vector_size(64)));

void GenerateAvx512(const GeneratorState* starts, std::uint32_t values, const LaneRule& rule,
                    LaneOutput* out) {
    Generate<VectorAvx512, 2>(starts, values, rule, out);
}

}  // namespace loto::lanes
