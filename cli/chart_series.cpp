#include "cli/chart_series.h"

#include <algorithm>
#include <cmath>

#include "core/statistics.h"

namespace loto {
namespace {

// The earlier point wins a tie, so that merging bins picks what one bin would have.
void KeepExtremes(std::optional<std::vector<RowExtremes>>& into,
                  const std::vector<RowExtremes>& from) {
    if (!into) {
        into = from;
        return;
    }
    for (std::size_t k = 0; k < from.size(); ++k) {
        auto& [lowest, highest] = (*into)[k];
        const bool earlier = from[k].lowest.draws < lowest.draws;
        if (from[k].lowest.deviation < lowest.deviation ||
            (from[k].lowest.deviation == lowest.deviation && earlier)) {
            lowest = from[k].lowest;
        }
        const bool earlierHigh = from[k].highest.draws < highest.draws;
        if (from[k].highest.deviation > highest.deviation ||
            (from[k].highest.deviation == highest.deviation && earlierHigh)) {
            highest = from[k].highest;
        }
    }
}

// Adds a point after `points`' last one, unless it is that one.
void Append(std::vector<RowPoint>& points, const RowPoint& point) {
    if (points.empty() || points.back().draws < point.draws) {
        points.push_back(point);
    }
}

}  // namespace

double ChartSeries::Deviation(const ChartPoint& point, int k) const {
    const auto row = static_cast<std::size_t>(k);
    return DeviationPercent(static_cast<double>(point.tally[row]),
                            static_cast<double>(point.draws) * probabilities_[row]);
}

void ChartSeries::Add(std::uint64_t draws, std::span<const std::uint64_t> tally) {
    ChartPoint point = last_;
    point.tally.resize(tally.size());
    point.draws += draws;
    for (std::size_t k = 0; k < point.tally.size(); ++k) {
        point.tally[k] += tally[k];
    }
    last_ = point;
    if (commands_++ == 0) {
        first_ = point;
    }
    if (bins_.empty() && points_.size() < kEveryCommandUpTo) {
        points_.push_back(point);
        return;
    }
    if (bins_.empty()) {
        // From now on in bins, as fine as the span so far lets them be: the commands so far span
        // at least a doubling, since each added draws.
        const double span =
            std::log2(static_cast<double>(last_.draws) / static_cast<double>(first_.draws));
        binsPerDoubling_ =
            1 << std::clamp(static_cast<int>(std::floor(std::log2(kMostBins / span))), 0, 30);
        for (const ChartPoint& kept : points_) {
            Keep(kept);
        }
        points_ = {};
    }
    Keep(point);
}

std::size_t ChartSeries::BinOf(std::uint64_t draws) const {
    const double doublings =
        std::log2(static_cast<double>(draws) / static_cast<double>(first_.draws));
    return static_cast<std::size_t>(std::floor(doublings * binsPerDoubling_));
}

void ChartSeries::Keep(const ChartPoint& point) {
    while (BinOf(point.draws) >= kMostBins) {
        MergePairs();
    }
    const std::size_t bin = BinOf(point.draws);
    if (bin >= bins_.size()) {
        bins_.resize(bin + 1);
    }
    std::vector<RowExtremes> own;
    for (std::size_t k = 0; k < point.tally.size(); ++k) {
        const RowPoint at{point.draws, Deviation(point, static_cast<int>(k))};
        own.push_back({at, at});
    }
    KeepExtremes(bins_[bin], own);
}

void ChartSeries::MergePairs() {
    std::vector<Bin> merged((bins_.size() + 1) / 2);
    for (std::size_t i = 0; i < bins_.size(); ++i) {
        if (bins_[i]) {
            KeepExtremes(merged[i / 2], *bins_[i]);
        }
    }
    bins_ = std::move(merged);
    binsPerDoubling_ /= 2;
}

std::vector<RowPoint> ChartSeries::Row(int k) const {
    std::vector<RowPoint> row;
    if (bins_.empty()) {
        for (const ChartPoint& point : points_) {
            row.push_back({point.draws, Deviation(point, k)});
        }
        return row;
    }
    const double binsOnAxis =
        std::log2(static_cast<double>(last_.draws) / static_cast<double>(first_.draws)) *
        binsPerDoubling_;
    const auto column = [&](std::size_t bin) {
        return std::min(static_cast<int>(static_cast<double>(bin) * kColumns / binsOnAxis),
                        kColumns - 1);
    };
    Append(row, {first_.draws, Deviation(first_, k)});
    Bin group;
    int groupColumn = -1;
    const auto flush = [&] {
        if (group) {
            const auto& [lowest, highest] = (*group)[static_cast<std::size_t>(k)];
            Append(row, lowest.draws < highest.draws ? lowest : highest);
            Append(row, lowest.draws < highest.draws ? highest : lowest);
        }
        group.reset();
    };
    for (std::size_t bin = 0; bin < bins_.size(); ++bin) {
        if (!bins_[bin]) {
            continue;
        }
        if (column(bin) != groupColumn) {
            flush();
            groupColumn = column(bin);
        }
        KeepExtremes(group, *bins_[bin]);
    }
    flush();
    Append(row, {last_.draws, Deviation(last_, k)});
    return row;
}

}  // namespace loto
