#pragma once

#include <string>

#include "cli/chart_series.h"

namespace loto {

// A self-contained SVG chart. For one command: for k = 0 to 6, the observed count against the
// expected one on a logarithmic axis, with the 95 % interval of the exact binomial around each
// expected count, and the chi-square of the tally under the chart. For several: the deviation in
// percent of each k against the cumulative number of draws, on a logarithmic axis of draws, with
// no more points than its plot can show.
// Elements carry their values as data- attributes, so that a reader can check them.
[[nodiscard]] std::string ChartSvg(const ChartSeries& commands);

}  // namespace loto
