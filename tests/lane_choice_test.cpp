// Which path of lanes the program takes for a processor's features.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "core/draw_lanes.h"

namespace loto {
namespace {

#if defined(__x86_64__)
// A vector path is chosen only where the processor has every instruction set that its kernel is
// built with (whatever the processor at hand has).
TEST(LaneChoice, OnlyWhatTheProcessorHas) {
    const CpuFeatures all{true, true, true, true, true, true, true};
    CpuFeatures noIfma = all;
    noIfma.avx512ifma = false;
    CpuFeatures noCount = all;  // IFMA without VPOPCNTDQ: Cannon Lake
    noCount.avx512vpopcntdq = false;
    // IFMA's multiply-adds and bit counts alone are not the rest of AVX512.
    const CpuFeatures onlyIfma{.avx512ifma = true, .avx512vpopcntdq = true};
    // Found: portable, avx2, avx512, avx512ifma.
    const std::pair<CpuFeatures, std::array<bool, 4>> choices[] = {
        {all, {true, true, true, true}},
        {noIfma, {true, true, true, false}},
        {noCount, {true, true, true, false}},
        {{}, {true, false, false, false}},
        {onlyIfma, {true, false, false, false}},
        {{.avx2 = true}, {true, true, false, false}},
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

// The features read from the processor are those that the kernel lists for it.
TEST(LaneChoice, ReadsTheProcessorsFeatures) {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line) && !line.starts_with("flags")) {
    }
    std::istringstream words(line + " ");
    const std::set<std::string> flags{std::istream_iterator<std::string>(words), {}};
    ASSERT_TRUE(flags.contains("sse2")) << "no flags in /proc/cpuinfo";
    const CpuFeatures read = CpuFeatures::OfThisMachine();
    const std::pair<const char*, bool> features[] = {
        {"avx2", read.avx2},
        {"avx512f", read.avx512f},
        {"avx512dq", read.avx512dq},
        {"avx512vl", read.avx512vl},
        {"avx512bw", read.avx512bw},
        {"avx512ifma", read.avx512ifma},
        {"avx512_vpopcntdq", read.avx512vpopcntdq},
    };
    for (const auto& [flag, found] : features) {
        EXPECT_EQ(found, flags.contains(flag)) << flag;
    }
}
#endif

}  // namespace
}  // namespace loto
