#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/draws.h"

namespace loto {

// The run so far, after a command that drew: the draws and the tally of every command until then.
struct ChartPoint {
    std::uint64_t draws = 0;
    Tally tally{};
};

// The run so far after each command that drew, in bounded memory whatever the number of
// commands: past kMaxPoints, only the points that the chart can show are kept (the first, the
// last, and in each column of its plot the lowest and highest deviation of each k).
class ChartSeries {
public:
    static constexpr std::size_t kMaxPoints = 8192;

    // A command's own draws and tally, added to the run's.
    void Add(std::uint64_t draws, const Tally& tally);
    [[nodiscard]] const std::vector<ChartPoint>& points() const noexcept { return points_; }

private:
    std::vector<ChartPoint> points_;
};

// A self-contained SVG chart. For one command: for k = 0 to 6, the observed count against the
// expected one on a logarithmic axis, with the 95 % interval of the exact binomial around each
// expected count, and the chi-square of the tally under the chart. For several: the deviation in
// percent of each k against the cumulative number of draws, on a logarithmic axis of draws, with
// no more points than its plot can show.
// Elements carry their values as data- attributes, so that a reader can check them.
[[nodiscard]] std::string ChartSvg(const std::vector<ChartPoint>& commands);

}  // namespace loto
