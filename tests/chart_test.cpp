// The chart of many commands keeps no more points than its plot can show, and those it keeps are
// the ones that show, exactly, whatever the number of commands: the first and the last, and each
// pixel column's extremes over the commands drawn in it.
#include "charts/run_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string_view>

#include "stats/significance.h"

namespace loto {
namespace {

// Each pixel column's lowest and highest deviation over the points that fall in it on the axis
// from `first` to `end`, as the chart draws them: log-spaced, 540 columns.
std::map<int, std::pair<double, double>> ColumnExtremes(const std::vector<RowPoint>& points,
                                                        double first, double end) {
    std::map<int, std::pair<double, double>> columns;
    for (const RowPoint& point : points) {
        const double x =
            540 * std::log(static_cast<double>(point.draws) / first) / std::log(end / first);
        // A point on an edge (a run of 2^j times the first command's draws) is the next column's,
        // whatever the rounding of the logarithms.
        const int column = std::min(static_cast<int>(x + 1e-9), 539);
        auto [at, fresh] = columns.try_emplace(column, point.deviation, point.deviation);
        at->second.first = std::min(at->second.first, point.deviation);
        at->second.second = std::max(at->second.second, point.deviation);
    }
    return columns;
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
    // The axis ends past the last command, by less than a seventeenth of its span.
    const auto first = static_cast<double>(every[0].front().draws);
    const double end = series.AxisEnd();
    EXPECT_GE(end, static_cast<double>(run.draws));
    EXPECT_LT(std::log(end / static_cast<double>(run.draws)), std::log(end / first) / 17);
    for (int k = 0; k < kResultRows; ++k) {
        const std::vector<RowPoint> row = series.Row(k);
        const auto& all = every[static_cast<std::size_t>(k)];
        EXPECT_EQ(ColumnExtremes(row, first, end), ColumnExtremes(all, first, end)) << "k = " << k;
        EXPECT_EQ(row.front(), all.front());
        EXPECT_EQ(row.back(), all.back());
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
