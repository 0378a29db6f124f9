// The chart of many commands keeps no more points than its plot can show, and those it keeps
// are the ones that show: the first and the last, and each column's extremes.
#include "cli/chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

namespace loto {
namespace {

// A command of 1000 draws whose tally for k = 0 is `zeros`, the rest of its draws at k = 1.
Tally CommandTally(std::uint64_t zeros) {
    return {zeros, 1000 - zeros, 0, 0, 0, 0, 0};
}

TEST(ChartSeries, KeepsWhatThePlotCanShow) {
    ChartSeries series;
    for (std::uint64_t command = 0; command < 100'000; ++command) {
        // One command far below the rest, then one far above, late in the run: each is the
        // extreme of its column, the draws after it drawing the deviation back.
        const std::uint64_t zeros = command == 55'555 ? 0 : command == 77'777 ? 1000 : 436;
        series.Add(1000, CommandTally(zeros));
    }
    const std::vector<ChartPoint>& points = series.points();
    EXPECT_LE(points.size(), ChartSeries::kMaxPoints);
    EXPECT_EQ(points.front().draws, 1000u);
    EXPECT_EQ(points.back().draws, 100'000'000u);
    EXPECT_EQ(points.back().tally[0], 99'998u * 436 + 1000);
    EXPECT_TRUE(std::ranges::is_sorted(points, {}, &ChartPoint::draws));
    // The lowest deviation of k = 0 in its column, and the highest.
    for (const std::uint64_t draws : {55'556'000u, 77'778'000u}) {
        EXPECT_EQ(std::ranges::count(points, draws, &ChartPoint::draws), 1) << draws;
    }

    // Each row's line has at most two points a column of pixels, and the ends.
    const std::string svg = ChartSvg(points);
    const std::string tag = "class=\"deviation\"";
    int rows = 0;
    for (auto line = svg.find(tag); line != std::string::npos;
         line = svg.find(tag, line + 1), ++rows) {
        const auto from = svg.find("points=\"", line) + 8;
        const auto shown = std::string_view(svg).substr(from, svg.find('"', from) - from);
        EXPECT_LE(std::count(shown.begin(), shown.end(), ','), 2 * 540 + 2) << rows;
    }
    EXPECT_EQ(rows, 7);
    EXPECT_LT(svg.size(), 1u << 20);
}

}  // namespace
}  // namespace loto
