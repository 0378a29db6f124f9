#include "core/draw_lanes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/generator_jump.h"
#include "tests/transcription.h"

namespace loto {
namespace {

// Every lane of every path makes the chunk that GenerateChunk makes one value at a time: from
// random states, from states whose step value lies beyond the modulus, and from states that walk
// into a guard zone, where the lane must give the Double formulas' result.
TEST(DrawLanes, EveryPathMakesTheChunksOfTheReference) {
    std::mt19937_64 random(3);
    std::vector<GeneratorState> starts;
    for (int i = 0; i < 16; ++i) {
        starts.push_back({static_cast<std::int64_t>(random() >> 16),
                          static_cast<std::int64_t>(random() % 32353) * 10000});
    }
    starts.push_back({(std::int64_t{1} << 48) - 2, 60000});  // a step value beyond m
    const std::vector<GeneratorState> near = test::StatesNearBoundaries();
    for (std::size_t i = 0; i < near.size(); i += 97) {
        starts.push_back(near[i]);
    }
    const std::uint64_t grid = NumberMask({3, 9, 17, 28, 41, 49});
    for (const LanePath path : {LanePath::Portable, LanePath::Avx2, LanePath::Avx512}) {
        const LaneKernel* kernel = FindLaneKernel(path);
        if (kernel == nullptr) {
            std::printf("[  SKIPPED ] lane path %d: this processor lacks its instructions\n",
                        static_cast<int>(path));
            continue;
        }
        for (const std::uint32_t values : {1u, 7u, 8u, 63u, 64u, 1000u, 4097u}) {
            for (std::size_t first = 0; first < starts.size(); first += kernel->lanes) {
                std::vector<GeneratorState> batch(kernel->lanes);
                std::vector<DrawChunk> chunks(kernel->lanes);
                std::vector<DrawChunk*> pointers;
                for (unsigned l = 0; l < kernel->lanes; ++l) {
                    batch[l] = starts[(first + l) % starts.size()];
                    pointers.push_back(&chunks[l]);
                }
                GenerateChunks(*kernel, batch.data(), values, grid, pointers.data());
                for (unsigned l = 0; l < kernel->lanes; ++l) {
                    DrawChunk reference;
                    GenerateChunk(batch[l], values, grid, reference);
                    EXPECT_TRUE(chunks[l] == reference)
                        << LanePathName(path) << " lane " << l << ", " << values << " values";
                }
            }
        }
    }
}

#if defined(__x86_64__)
// A vector path is chosen only where the processor has every instruction set that its kernel is
// built with.
TEST(DrawLanes, ChoosesOnlyWhatTheProcessorHas) {
    const CpuFeatures all{true, true, true, true, true};
    const std::pair<CpuFeatures, std::array<bool, 3>> choices[] = {
        {all, {true, true, true}},
        {{}, {true, false, false}},
        {{.avx2 = true}, {true, true, false}},
        {{true, true, true, true, false}, {true, true, false}},  // no BW
        {{true, true, false, true, true}, {true, true, false}},  // no DQ
        {{true, true, true, false, true}, {true, true, false}},  // no VL
        {{true, false, true, true, true}, {true, true, false}},  // no F
    };
    for (const auto& [features, found] : choices) {
        for (const LanePath path : {LanePath::Portable, LanePath::Avx2, LanePath::Avx512}) {
            EXPECT_EQ(FindLaneKernel(path, features) != nullptr,
                      found[static_cast<std::size_t>(path)])
                << LanePathName(path);
        }
    }
}
#endif

}  // namespace
}  // namespace loto
