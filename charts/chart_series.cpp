#include "charts/chart_series.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/statistics.h"

namespace loto {
namespace {

// The earlier point wins a tie, so that merging bins picks what one bin would have.
void KeepExtremes(RowExtremes& into, const RowExtremes& from) {
    if (from.lowest.deviation < into.lowest.deviation ||
        (from.lowest.deviation == into.lowest.deviation && from.lowest.draws < into.lowest.draws)) {
        into.lowest = from.lowest;
    }
    if (from.highest.deviation > into.highest.deviation ||
        (from.highest.deviation == into.highest.deviation &&
         from.highest.draws < into.highest.draws)) {
        into.highest = from.highest;
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
    if (filled_.empty() && points_.size() < kEveryCommandUpTo) {
        points_.push_back(point);
        return;
    }
    if (filled_.empty()) {
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

std::size_t ChartSeries::BinsPerColumn() const {
    return std::max<std::size_t>(1, (BinOf(last_.draws) + kColumns) / kColumns);
}

double ChartSeries::AxisEnd() const {
    if (filled_.empty()) {
        return static_cast<double>(last_.draws);
    }
    const double doublings = static_cast<double>(BinsPerColumn() * kColumns) / binsPerDoubling_;
    return static_cast<double>(first_.draws) * std::exp2(doublings);
}

void ChartSeries::Keep(const ChartPoint& point) {
    while (BinOf(point.draws) >= kMostBins) {
        MergePairs();
    }
    const std::size_t bin = BinOf(point.draws);
    if (bin >= filled_.size()) {
        filled_.resize(bin + 1);
        bins_.resize((bin + 1) * rows());
    }
    for (std::size_t k = 0; k < rows(); ++k) {
        const RowPoint at{point.draws, Deviation(point, static_cast<int>(k))};
        RowExtremes& kept = bins_[bin * rows() + k];
        if (filled_[bin]) {
            KeepExtremes(kept, {at, at});
        } else {
            kept = {at, at};
        }
    }
    filled_[bin] = true;
}

void ChartSeries::MergePairs() {
    // In place: bin i takes bins 2i and 2i + 1, which no earlier step has written over.
    const std::size_t merged = (filled_.size() + 1) / 2;
    for (std::size_t bin = 0; bin < merged; ++bin) {
        const std::size_t left = 2 * bin;
        const std::size_t right = left + 1;
        const bool hasLeft = filled_[left];
        const bool hasRight = right < filled_.size() && filled_[right];
        if (hasLeft || hasRight) {
            for (std::size_t k = 0; k < rows(); ++k) {
                RowExtremes kept = bins_[(hasLeft ? left : right) * rows() + k];
                if (hasLeft && hasRight) {
                    KeepExtremes(kept, bins_[right * rows() + k]);
                }
                bins_[bin * rows() + k] = kept;
            }
        }
        filled_[bin] = hasLeft || hasRight;
    }
    filled_.resize(merged);
    bins_.resize(merged * rows());
    binsPerDoubling_ /= 2;
}

std::vector<RowPoint> ChartSeries::Row(int k) const {
    std::vector<RowPoint> row;
    if (filled_.empty()) {
        for (const ChartPoint& point : points_) {
            row.push_back({point.draws, Deviation(point, k)});
        }
        return row;
    }
    Append(row, {first_.draws, Deviation(first_, k)});
    const std::size_t perColumn = BinsPerColumn();
    const auto row_k = static_cast<std::size_t>(k);
    for (std::size_t from = 0; from < filled_.size(); from += perColumn) {
        std::optional<RowExtremes> column;
        for (std::size_t bin = from; bin < std::min(from + perColumn, filled_.size()); ++bin) {
            if (!filled_[bin]) {
                continue;
            }
            const RowExtremes& kept = bins_[bin * rows() + row_k];
            if (column) {
                KeepExtremes(*column, kept);
            } else {
                column = kept;
            }
        }
        if (column) {
            const auto& [lowest, highest] = *column;
            Append(row, lowest.draws < highest.draws ? lowest : highest);
            Append(row, lowest.draws < highest.draws ? highest : lowest);
        }
    }
    Append(row, {last_.draws, Deviation(last_, k)});
    return row;
}

}  // namespace loto
