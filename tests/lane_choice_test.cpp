// Which path of lanes the program takes for a processor's features.
#include <gtest/gtest.h>

#include <array>

#include "core/draw_lanes.h"

namespace loto {
namespace {

#if defined(__x86_64__)
// A vector path is chosen only where the processor has every instruction set that its kernel is
// built with (whatever the processor at hand has).
TEST(LaneChoice, OnlyWhatTheProcessorHas) {
    // The features: AVX2, then AVX512 F, DQ, VL, BW, IFMA and VPOPCNTDQ. Found: portable, avx2,
    // avx512, avx512ifma.
    const std::pair<CpuFeatures, std::array<bool, 4>> choices[] = {
        {{true, true, true, true, true, true, true}, {true, true, true, true}},
        {{true, true, true, true, true, false, true}, {true, true, true, false}},
        {{true, true, true, true, true, true, false}, {true, true, true, false}},  // Cannon Lake
        {{}, {true, false, false, false}},
        // IFMA's multiply-adds and bit counts alone are not the rest of AVX512.
        {{false, false, false, false, false, true, true}, {true, false, false, false}},
        {{true, false, false, false, false, false, false}, {true, true, false, false}},
        {{true, true, true, true, false, true, true}, {true, true, false, false}},  // no BW
        {{true, true, false, true, true, true, true}, {true, true, false, false}},  // no DQ
        {{true, true, true, false, true, true, true}, {true, true, false, false}},  // no VL
        {{true, false, true, true, true, true, true}, {true, true, false, false}},  // no F
    };
    for (const auto& [features, found] : choices) {
        for (const LanePath path :
             {LanePath::Portable, LanePath::Avx2, LanePath::Avx512, LanePath::Avx512Ifma}) {
            EXPECT_EQ(FindLaneKernel(path, features) != nullptr,
                      found[static_cast<std::size_t>(path)])
                << LanePathName(path);
        }
    }
}

#endif

}  // namespace
}  // namespace loto
