#pragma once

#include <string>
#include <vector>

#include "charts/chart_series.h"

namespace loto {

// What the chart's rows stand for: each one's name (under its column, in the key) and the title
// of the axis they lie along, for one command.
struct ChartRows {
    std::vector<std::string> names;
    std::string countsTitle;  // the vertical axis of one command's counts
    std::string axisTitle;    // the horizontal axis of one command
};

// The designed game's rows: k = 0 to 6 favourites matched.
[[nodiscard]] ChartRows MatchRows();
// Any game's rows: its tiers, by name.
[[nodiscard]] ChartRows TierRows(std::vector<std::string> names);

// A self-contained SVG chart. For one command: for each row, the observed count against the
// expected one on a logarithmic axis, with the 95 % interval of the exact binomial around each
// expected count, and the chi-square of the tally under the chart. For several: the deviation in
// percent of each row against the cumulative number of draws, on a logarithmic axis of draws,
// with no more points than its plot can show.
// Elements carry their values as data- attributes, so that a reader can check them.
[[nodiscard]] std::string ChartSvg(const ChartSeries& commands, const ChartRows& rows);

}  // namespace loto
