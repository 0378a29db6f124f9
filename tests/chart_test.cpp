// The chart of many commands keeps no more points than its plot can show, and those it keeps are
// the ones that show, exactly, whatever the number of commands: the first and the last, and each
// column's extremes over the bins that start in it.
#include "cli/chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string_view>

#include "cli/significance.h"

namespace loto {
namespace {

// Every command's point of row k, grouped as the chart groups them, in one pass once the run is
// over: bins of 1 / B of a doubling of the draws, B the power of two that puts 1,080 to 2,159 of
// them on the axis, each column holding the bins that start in it.
std::vector<RowPoint> ColumnExtremes(const std::vector<RowPoint>& all) {
    const double first = static_cast<double>(all.front().draws);
    const double span = std::log2(static_cast<double>(all.back().draws) / first);
    double perDoubling = 1;
    while (span * perDoubling * 2 < 2160) {
        perDoubling *= 2;
    }
    std::map<int, std::pair<RowPoint, RowPoint>> columns;  // lowest, highest
    for (const RowPoint& point : all) {
        const double bin =
            std::floor(std::log2(static_cast<double>(point.draws) / first) * perDoubling);
        const int column = std::min(static_cast<int>(bin * 540 / (span * perDoubling)), 539);
        auto [at, fresh] = columns.try_emplace(column, point, point);
        auto& [lowest, highest] = at->second;
        lowest = point.deviation < lowest.deviation ? point : lowest;
        highest = point.deviation > highest.deviation ? point : highest;
    }
    std::vector<RowPoint> shown{all.front()};
    for (const auto& [column, extremes] : columns) {
        const auto [low, high] = extremes;
        for (const RowPoint& point :
             low.draws < high.draws ? std::array{low, high} : std::array{high, low}) {
            if (shown.back().draws < point.draws) {
                shown.push_back(point);
            }
        }
    }
    if (shown.back().draws < all.back().draws) {
        shown.push_back(all.back());
    }
    return shown;
}

std::vector<double> Designed() {
    const PerRow<double> probabilities = MatchProbabilities();
    return {probabilities.begin(), probabilities.end()};
}

TEST(ChartSeries, KeepsEachColumnsExtremesExactly) {
    ChartSeries series(Designed());
    std::vector<std::vector<RowPoint>> every(kResultRows);
    ChartPoint run;
    std::uint64_t noise = 12345;
    for (std::uint64_t command = 0; command < 20'000; ++command) {
        // A few draws a command while every command is kept, then commands ever larger, by a
        // little noise: columns of unequal counts, and a span of the draws that more than
        // doubles while the bins are kept, so that they are merged twice over.
        noise = noise * 6364136223846793005u + 1442695040888963407u;
        const std::uint64_t draws = command <= ChartSeries::kEveryCommandUpTo
                                        ? 1 + (noise >> 33) % 3
                                        : command * command / 10 + (noise >> 33) % 1000;
        // One command far below the rest, then one far above, late in the run: each is the
        // extreme of its column, the draws after it drawing the deviation back.
        const std::uint64_t zeros = command == 15'555 ? 0
                                    : command == 17'777
                                        ? draws
                                        : (draws * 436 + (noise >> 20) % 300) / 1000;
        const std::vector<std::uint64_t> tally{zeros, draws - zeros, 0, 0, 0, 0, 0};
        series.Add(draws, tally);
        run.draws += draws;
        run.tally.resize(tally.size());
        for (std::size_t k = 0; k < tally.size(); ++k) {
            run.tally[k] += tally[k];
            every[k].push_back({run.draws, series.Deviation(run, static_cast<int>(k))});
        }
    }
    EXPECT_EQ(series.commands(), 20'000u);
    EXPECT_EQ(series.last().draws, run.draws);
    for (int k = 0; k < kResultRows; ++k) {
        const std::vector<RowPoint> row = series.Row(k);
        EXPECT_EQ(row, ColumnExtremes(every[static_cast<std::size_t>(k)])) << "k = " << k;
        EXPECT_LE(row.size(), 2u * 540 + 2);
    }
    const std::vector<RowPoint> zeros = series.Row(0);
    const auto lowest = std::ranges::min_element(zeros, {}, &RowPoint::deviation);
    EXPECT_EQ(*lowest, *std::ranges::min_element(every[0], {}, &RowPoint::deviation));

    // The chart draws them, each row at most two points a column of pixels and the ends.
    const std::string svg = ChartSvg(series, MatchRows());
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

// While few, every command is drawn.
TEST(ChartSeries, KeepsEveryCommandWhileFew) {
    ChartSeries series(Designed());
    const std::vector<std::uint64_t> tally{436, 564, 0, 0, 0, 0, 0};
    for (int command = 0; command < 1080; ++command) {
        series.Add(1000, tally);
    }
    EXPECT_EQ(series.Row(3).size(), 1080u);
    series.Add(1000, tally);
    EXPECT_LT(series.Row(3).size(), 1081u);
}

}  // namespace
}  // namespace loto
