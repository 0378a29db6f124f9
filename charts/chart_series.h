#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace loto {

// The run so far, after a command that drew: the draws and the tally of every command until then,
// a count for each row of the chart.
struct ChartPoint {
    std::uint64_t draws = 0;
    std::vector<std::uint64_t> tally{};
};

// Where one row of the chart passes after a command: its draws so far and its deviation in
// percent from the expected count.
struct RowPoint {
    std::uint64_t draws = 0;
    double deviation = 0;

    friend bool operator==(const RowPoint&, const RowPoint&) = default;
};

// A row's lowest and highest point over some commands.
struct RowExtremes {
    RowPoint lowest;
    RowPoint highest;
};

// The run so far after each command that drew, in bounded memory whatever the number of commands.
// While the run holds no more commands than two a pixel column of the plot, every one is kept.
// Past that, the commands go into bins of equal width on the logarithmic axis of the draws (a
// power-of-two fraction of a doubling of the draws, at most a sixteenth of a pixel column wide),
// each bin keeping the lowest and the highest deviation of each row exactly; when the run's span
// has grown so far that the bins would be more than 32 a column, they are merged in pairs, which
// keeps the extremes exact. The axis then ends at the first bin edge from the last command on
// that makes each column a whole number of bins (at most a seventeenth of the plot past it), so
// that no bin crosses a column's edge: a column shows the lowest and highest deviation of each
// row over the commands drawn in it.
class ChartSeries {
public:
    static constexpr int kColumns = 540;  // the plot's width in pixels
    static constexpr std::size_t kEveryCommandUpTo = 2 * kColumns;
    static constexpr std::size_t kMostBins = 32 * kColumns;

    // Rows of these probabilities of a draw.
    explicit ChartSeries(std::vector<double> probabilities)
        : probabilities_(std::move(probabilities)) {}

    // A command's own draws and tally, added to the run's.
    void Add(std::uint64_t draws, std::span<const std::uint64_t> tally);

    [[nodiscard]] std::uint64_t commands() const noexcept { return commands_; }
    [[nodiscard]] const ChartPoint& first() const noexcept { return first_; }
    [[nodiscard]] const ChartPoint& last() const noexcept { return last_; }
    [[nodiscard]] const std::vector<double>& probabilities() const noexcept {
        return probabilities_;
    }
    // Where the axis of the draws ends: the last command's draws while every command is kept.
    [[nodiscard]] double AxisEnd() const;
    // The deviation of row k in percent from its expected count after the run of `point`.
    [[nodiscard]] double Deviation(const ChartPoint& point, int k) const;
    // Row k's points, in the order of the draws: every command's while they are few; else the
    // first and the last, and each column's lowest and highest.
    [[nodiscard]] std::vector<RowPoint> Row(int k) const;

private:
    // The bin of a run of `draws` draws at the present width.
    [[nodiscard]] std::size_t BinOf(std::uint64_t draws) const;
    // The bins a column holds: the axis spans that many times kColumns.
    [[nodiscard]] std::size_t BinsPerColumn() const;
    [[nodiscard]] std::size_t rows() const noexcept { return probabilities_.size(); }
    void Keep(const ChartPoint& point);
    void MergePairs();

    std::vector<double> probabilities_;
    std::uint64_t commands_ = 0;
    ChartPoint first_;
    ChartPoint last_;
    std::vector<ChartPoint> points_;  // while they are few
    // From the first command's draws on, each bin's extremes of every row, one after the other,
    // and whether a command fell in it: a few MB at most.
    std::vector<RowExtremes> bins_;
    std::vector<bool> filled_;
    int binsPerDoubling_ = 0;  // a power of two
};

}  // namespace loto
