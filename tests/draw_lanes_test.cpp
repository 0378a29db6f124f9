#include "core/draw_lanes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/generator_jump.h"
#include "tests/support/lane_path_test.h"
#include "tests/transcription.h"

namespace loto {
namespace {

class DrawLanes : public test::LanePathTest {};

// Every lane of every path makes the chunk that GenerateChunk makes one value at a time: from
// random states, from states whose step value lies beyond the modulus, and from states that walk
// into a guard zone, where the lane must give the Double formulas' result.
TEST_P(DrawLanes, MakeTheChunksOfTheReference) {
    std::mt19937_64 random(3);
    std::vector<GeneratorState> starts;
    for (int i = 0; i < 16; ++i) {
        starts.push_back({static_cast<std::int64_t>(random() >> 16),
                          static_cast<std::int64_t>(random() % 32353) * 10000});
    }
    starts.push_back({(std::int64_t{1} << 48) - 2, 60000});  // a step value beyond m
    // Next to the edges of the numbers of each game below.
    for (const int top : {49, 45, 35}) {
        const std::vector<GeneratorState> near = test::StatesNearBoundaries(top);
        for (std::size_t i = 0; i < near.size(); i += 97) {
            starts.push_back(near[i]);
        }
    }
    // The designed game, and games of one pool whose numbers and draws differ: 6/45 and 7/35.
    DrawRule sixOf45{.game = {.drawn = 6, .top = 45}, .main = {}, .second = {}};
    DrawRule sevenOf35{.game = {.drawn = 7, .top = 35}, .main = {}, .second = {}};
    for (const int n : {3, 9, 17, 28, 41, 45}) {
        sixOf45.main.Add(n);
    }
    for (const int n : {1, 5, 9, 13, 20, 27, 35}) {
        sevenOf35.main.Add(n);
    }
    for (const DrawRule& grid :
         {SixOfFortyNineRule(NumberMask({3, 9, 17, 28, 41, 49})), sixOf45, sevenOf35}) {
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
                        << GameSpec(grid.game) << ", lane " << l << ", " << values << " values";
                }
            }
        }
    }
}

LOTO_FOR_EVERY_LANE_PATH(DrawLanes);

}  // namespace
}  // namespace loto
