// Which path of lanes the program takes for a processor's features.
#include <gtest/gtest.h>

#include <string>

#include "core/draw_lanes.h"

namespace loto {
namespace {

#if defined(__x86_64__)
// The paths found for `features`, by name.
std::string Found(const CpuFeatures& features) {
    std::string found;
    for (const LanePath path :
         {LanePath::Portable, LanePath::Avx2, LanePath::Avx512, LanePath::Avx512Ifma}) {
        if (FindLaneKernel(path, features) != nullptr) {
            found.append(found.empty() ? "" : " ").append(LanePathName(path));
        }
    }
    return found;
}

// A vector path is chosen only where the processor has every instruction set that its kernel is
// built with (whatever the processor at hand has).
TEST(LaneChoice, OnlyWhatTheProcessorHas) {
    constexpr CpuFeatures kZen4{.avx2 = true,
                                .avx512f = true,
                                .avx512dq = true,
                                .avx512vl = true,
                                .avx512bw = true,
                                .avx512ifma = true,
                                .avx512vpopcntdq = true};
    const auto without = [&](bool CpuFeatures::*feature) {
        CpuFeatures features = kZen4;
        features.*feature = false;
        return features;
    };
    const std::pair<CpuFeatures, std::string> choices[] = {
        {kZen4, "portable avx2 avx512 avx512ifma"},
        {without(&CpuFeatures::avx512ifma), "portable avx2 avx512"},
        {without(&CpuFeatures::avx512vpopcntdq), "portable avx2 avx512"},  // Cannon Lake
        {{}, "portable"},
        // IFMA's multiply-adds and bit counts alone are not the rest of AVX512.
        {{.avx512ifma = true, .avx512vpopcntdq = true}, "portable"},
        {{.avx2 = true}, "portable avx2"},
        {without(&CpuFeatures::avx512bw), "portable avx2"},
        {without(&CpuFeatures::avx512dq), "portable avx2"},
        {without(&CpuFeatures::avx512vl), "portable avx2"},
        {without(&CpuFeatures::avx512f), "portable avx2"},
    };
    for (const auto& [features, found] : choices) {
        EXPECT_EQ(Found(features), found);
    }
}

#endif

}  // namespace
}  // namespace loto
