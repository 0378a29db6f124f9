#include "core/draw_lanes.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/generator_jump.h"
#include "tests/support/example_games.h"
#include "tests/support/lane_path_test.h"
#include "tests/transcription.h"

namespace loto {
namespace {

class DrawLanes : public test::LanePathTest {};

// Every lane of every path makes the chunk that GenerateChunk makes one value at a time: from
// random states, from states whose step value lies beyond the modulus, and from states that walk
// into a guard zone, where the lane must give the Double formulas' result; for each game that the
// lanes draw, with no tier marked and with every third tier marked.
TEST_P(DrawLanes, MakeTheChunksOfTheReference) {
    std::mt19937_64 random(3);
    std::vector<GeneratorState> starts;
    for (int i = 0; i < 16; ++i) {
        starts.push_back({static_cast<std::int64_t>(random() >> 16),
                          static_cast<std::int64_t>(random() % 32353) * 10000});
    }
    starts.push_back({(std::int64_t{1} << 48) - 2, 60000});  // a step value beyond m
    // The designed game and every example game that the lanes draw, each also from states next
    // to the edges of its pools' numbers.
    std::vector<DrawRule> rules = {SixOfFortyNineRule(NumberMask({3, 9, 17, 28, 41, 49}))};
    for (const DrawRule& rule : test::EveryTestRule()) {
        if (LanesDraw(rule)) {
            rules.push_back(rule);
        }
    }
    for (const DrawRule& grid : rules) {
        std::vector<GeneratorState> near = test::StatesNearBoundaries(grid.game.main.top);
        if (grid.game.hasSecond()) {
            const auto second = test::StatesNearBoundaries(grid.game.second.top);
            near.insert(near.end(), second.begin(), second.end());
        }
        for (std::size_t i = 0; i < near.size(); i += 97) {
            starts.push_back(near[i]);
        }
    }
    for (const DrawRule& grid : rules) {
        std::vector<std::uint8_t> thirds(static_cast<std::size_t>(grid.tiers()));
        for (std::size_t tier = 1; tier < thirds.size(); tier += 3) {
            thirds[tier] = 1;
        }
        for (const MarkedTiers marked : {MarkedTiers(), MarkedTiers(thirds)})
            for (const std::uint32_t values : {1u, 7u, 8u, 63u, 64u, 1000u, 4097u}) {
                for (std::size_t first = 0; first < starts.size(); first += kernel->lanes) {
                    std::vector<GeneratorState> batch(kernel->lanes);
                    std::vector<DrawChunk> chunks(kernel->lanes);
                    std::vector<DrawChunk*> pointers;
                    for (unsigned l = 0; l < kernel->lanes; ++l) {
                        batch[l] = starts[(first + l) % starts.size()];
                        pointers.push_back(&chunks[l]);
                    }
                    GenerateChunks(*kernel, batch.data(), values, grid, pointers.data(), marked);
                    for (unsigned l = 0; l < kernel->lanes; ++l) {
                        DrawChunk reference;
                        GenerateChunk(batch[l], values, grid, reference, marked);
                        EXPECT_TRUE(chunks[l] == reference)
                            << GameName(grid.game) << ", lane " << l << ", " << values << " values";
                    }
                }
            }
    }
}

LOTO_FOR_EVERY_LANE_PATH(DrawLanes);

}  // namespace
}  // namespace loto
