#pragma once

#include <algorithm>
#include <cmath>
#include <string>

namespace loto {

// What every chart is drawn with: its width, the plots' margins, their frames, grid lines,
// labels and axis titles.

inline constexpr double kChartWidth = 640;
inline constexpr double kPlotLeft = 80, kPlotRight = 20;
inline constexpr double kPlotWidth = kChartWidth - kPlotLeft - kPlotRight;
// Under a plot, from its bottom edge: the labels of its horizontal axis, then the axis' title.
inline constexpr double kTicksBelow = 18, kAxisTitleBelow = 36;
// Left of a plot: the vertical axis' title, and the gap between its labels and the plot.
inline constexpr double kVerticalTitleX = 16, kTickGap = 6;

// A plot's frame: its top and height, and where a value's fraction of the height lies.
struct PlotFrame {
    double top, height;
    [[nodiscard]] double Y(double fraction) const { return top + height * (1 - fraction); }
    [[nodiscard]] double Bottom() const { return top + height; }
};

[[nodiscard]] std::string Frame(const PlotFrame& plot);
// A horizontal grid line across the plot at height y, labelled on its left.
[[nodiscard]] std::string GridLine(double y, const std::string& label);
// A label of the horizontal axis at x, under the plot.
[[nodiscard]] std::string XLabel(double x, const PlotFrame& plot, const std::string& label);
// A vertical axis's title, turned along it, and a horizontal one's under the plot, if any.
[[nodiscard]] std::string AxisTitles(const PlotFrame& plot, const char* vertical,
                                     const char* horizontal);

// A symmetric axis of deviations in percent, from -span to +span, and its grid lines at -span,
// -span / 2, 0, span / 2 and span.
struct DeviationAxis {
    double span;
    [[nodiscard]] double Fraction(double deviation) const {
        return 0.5 + std::clamp(deviation, -span, span) / (2 * span);
    }
    [[nodiscard]] bool Clips(double deviation) const { return std::fabs(deviation) > span; }
};
[[nodiscard]] std::string DeviationGrid(const DeviationAxis& axis, const PlotFrame& plot);

// The start of a self-contained SVG document on a white ground, its title centred at the top.
[[nodiscard]] std::string SvgStart(double width, double height, const std::string& title);

// A logarithmic axis from `low` to `high`.
struct LogAxis {
    double low, high;
    // From the power of ten at or below the smallest value to the one above the largest.
    static LogAxis Around(double smallest, double largest) {
        return {std::pow(10, std::floor(std::log10(smallest))),
                std::pow(10, std::ceil(std::log10(std::max(largest, 1.0)) + 1e-12))};
    }
    [[nodiscard]] double Fraction(double value) const {
        const double v = std::clamp(value, low, high);
        return (std::log10(v) - std::log10(low)) / (std::log10(high) - std::log10(low));
    }
};

// The span that holds every value up to `largest`, rounded up to 1, 2 or 5 times a power of ten;
// 100 when there is nothing to hold.
[[nodiscard]] double RoundedSpan(double largest);

// 10 to the power of value's exponent, the exponent raised.
[[nodiscard]] std::string PowerOfTen(double value);

}  // namespace loto
