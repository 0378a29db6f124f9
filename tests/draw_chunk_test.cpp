#include "core/draw_chunk.h"

#include <gtest/gtest.h>

#include <utility>

namespace loto {
namespace {

// Where a chunk's guessed draws start, counted before a value and found by number, across the
// 64-bit words of the marks.
TEST(DrawChunk, CountsAndFindsDrawStarts) {
    DrawChunk chunk;
    chunk.Clear(200);
    const std::uint32_t starts[] = {0, 6, 63, 64, 65, 130};
    for (const std::uint32_t start : starts) {
        chunk.drawStarts[start / 64] |= std::uint64_t{1} << (start % 64);
    }
    for (std::uint32_t d = 0; d <= 6; ++d) {
        EXPECT_EQ(chunk.StartOf(d), d < 6 ? starts[d] : 200u) << d;
    }
    const std::pair<std::uint32_t, std::uint32_t> before[] = {
        {0, 0}, {1, 1}, {63, 2}, {64, 3}, {65, 4}, {66, 5}, {128, 5}, {131, 6}, {200, 6}};
    for (const auto& [value, count] : before) {
        EXPECT_EQ(chunk.StartsBefore(value), count) << value;
    }
}

}  // namespace
}  // namespace loto
