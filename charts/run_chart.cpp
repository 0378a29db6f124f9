#include "charts/run_chart.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <cmath>
#include <cstdio>

#include "charts/svg.h"
#include "platform/printf.h"
#include "stats/significance.h"
#include "stats/summary.h"

namespace loto {
namespace {

constexpr double kTop = 40;  // above the plots, the chart's title
// The heights of the plots: one command's counts and their deviations under them, several
// commands' deviations against the draws.
constexpr double kCountsHeight = 260, kPlotGap = 30, kDeviationsHeight = 120, kTrendHeight = 290;
// The lines under a plot, from its bottom edge, after its axis' labels and title: the key of the
// rows, a note, the chi-square, and the chart's end.
constexpr double kKeyBelow = 58;
constexpr double kOneCommandChiBelow = 80, kOneCommandEnd = 100;
constexpr double kTrendNoteBelow = 78, kTrendChiBelow = 98, kTrendEnd = 110;
constexpr double kKeySpacing = 80;  // between the rows in the key
constexpr double kKeyLine = 16;     // between the lines of a long key
constexpr std::size_t kKeyPerLine = 7;
constexpr std::array<const char*, 10> kColours = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728",
                                                  "#9467bd", "#8c564b", "#e377c2", "#7f7f7f",
                                                  "#bcbd22", "#17becf"};

const char* Colour(std::size_t row) {
    return kColours[row % kColours.size()];
}

// The rows of the key beyond its first line, which make the chart taller.
double KeyLinesBelow(std::size_t rows) {
    return kKeyLine * static_cast<double>((std::max<std::size_t>(rows, 1) - 1) / kKeyPerLine);
}

std::string Header(const std::string& title, double height) {
    return SvgStart(kChartWidth, height, title);
}

// A 95 % interval from `low` to `high` at x, drawn between the heights of its ends.
std::string IntervalLine(const char* name, double low, double high, double x, double yLow,
                         double yHigh) {
    return Printf(
        "<line class=\"%s\" data-low=\"%g\" data-high=\"%g\" x1=\"%.2f\" y1=\"%.2f\" "
        "x2=\"%.2f\" y2=\"%.2f\" stroke=\"#888888\" stroke-width=\"3\"/>\n",
        name, low, high, x, yLow, x, yHigh);
}

// Grid lines and labels at each power of ten of a vertical log axis.
std::string VerticalLogAxis(const LogAxis& axis, const PlotFrame& panel) {
    std::string svg =
        Printf("<g class=\"y-axis\" data-low=\"%g\" data-high=\"%g\">\n", axis.low, axis.high);
    for (double v = axis.low; v <= axis.high * 1.0001; v *= 10) {
        svg += GridLine(panel.Y(axis.Fraction(v)), Printf("%g", v));
    }
    return svg + "</g>\n";
}

// A point beyond the axis: an arrow on the edge pointing the way it went, and, when asked, its
// value beside it.
std::string ClippedMark(double x, const DeviationAxis& axis, const PlotFrame& panel,
                        double deviation, const char* colour, bool labelled) {
    const bool above = deviation > 0;
    const double edge = panel.Y(axis.Fraction(deviation));
    const double tip = above ? edge - 2 : edge + 2;
    const double base = above ? edge + 7 : edge - 7;
    std::string svg = Printf(
        "<path class=\"clipped\" data-value=\"%g\" d=\"M%.2f,%.2f L%.2f,%.2f L%.2f,%.2f Z\" "
        "fill=\"%s\"/>\n",
        deviation, x, tip, x - 4, base, x + 4, base, colour);
    if (labelled) {
        svg +=
            Printf("<text x=\"%.2f\" y=\"%.2f\" text-anchor=\"end\" fill=\"%s\">%.3g %%</text>\n",
                   x - 6, above ? edge + 14 : edge - 6, colour, deviation);
    }
    return svg;
}

std::string ChiSquareText(const ChartPoint& point, const std::vector<double>& probabilities) {
    // A chart has draws.
    return ChiSquareSummary(*TestSignificance(point.tally, probabilities, point.draws));
}

// For one command: the counts against the expected ones with their 95 % intervals on a log axis,
// and under them the same as observed / expected - 1, where counts too close to tell apart on
// the log axis show their difference.
std::string OneCommand(const ChartPoint& command, const std::vector<double>& probabilities,
                       const ChartRows& rows) {
    const auto n = static_cast<double>(command.draws);
    double smallest = 1e300, largest = 0, widest = 0;
    const std::size_t count = probabilities.size();
    std::vector<double> expected(count), low(count), high(count);
    for (std::size_t k = 0; k < count; ++k) {
        const boost::math::binomial_distribution<double> chance(n, probabilities[k]);
        expected[k] = n * probabilities[k];
        low[k] = boost::math::quantile(chance, 0.025);
        high[k] = boost::math::quantile(chance, 0.975);
        for (const double v :
             {expected[k], low[k], high[k], static_cast<double>(command.tally[k])}) {
            if (v > 0) {
                smallest = std::min(smallest, v);
                largest = std::max(largest, v);
            }
        }
        // The scale is that of the rows whose interval is narrow enough to read on it.
        if (expected[k] >= 100) {
            widest = std::max({widest, DeviationPercent(high[k], expected[k]),
                               -DeviationPercent(low[k], expected[k]),
                               std::fabs(DeviationPercent(command.tally[k], expected[k]))});
        }
    }
    const PlotFrame counts{kTop, kCountsHeight};
    const PlotFrame deviations{counts.Bottom() + kPlotGap, kDeviationsHeight};
    const LogAxis axis = LogAxis::Around(smallest, largest);
    const DeviationAxis spread{RoundedSpan(widest)};
    std::string svg =
        Header(
            Printf("%llu draw%s: observed and expected counts",
                   static_cast<unsigned long long>(command.draws), command.draws == 1 ? "" : "s"),
            deviations.Bottom() + kOneCommandEnd) +
        Frame(counts) + VerticalLogAxis(axis, counts) + Frame(deviations) +
        DeviationGrid(spread, deviations) + AxisTitles(counts, rows.countsTitle.c_str(), nullptr) +
        AxisTitles(deviations, "observed / expected - 1", rows.axisTitle.c_str());
    for (std::size_t k = 0; k < count; ++k) {
        const double x =
            kPlotLeft + kPlotWidth * (static_cast<double>(k) + 0.5) / static_cast<double>(count);
        const auto observed = static_cast<double>(command.tally[k]);
        const auto y = [&](double v) { return counts.Y(axis.Fraction(v)); };
        svg += Printf("<g class=\"k\" data-k=\"%zu\">\n", k);
        svg += IntervalLine("interval", low[k], high[k], x, y(low[k]), y(high[k]));
        svg += Printf(
            "<circle class=\"expected\" data-value=\"%g\" cx=\"%.2f\" cy=\"%.2f\" "
            "r=\"5\" fill=\"none\" stroke=\"#1f77b4\" stroke-width=\"2\"/>\n",
            expected[k], x, y(expected[k]));
        svg += Printf(
            "<rect class=\"observed\" data-value=\"%g\" x=\"%.2f\" y=\"%.2f\" "
            "width=\"8\" height=\"8\" fill=\"#d62728\"/>\n",
            observed, x - 4, y(observed) - 4);
        // The same in percent of the expected count, where the interval is short enough to show.
        const double lowest = DeviationPercent(low[k], expected[k]);
        const double highest = DeviationPercent(high[k], expected[k]);
        const double deviation = DeviationPercent(observed, expected[k]);
        const auto dy = [&](double d) { return deviations.Y(spread.Fraction(d)); };
        svg += IntervalLine("relative-interval", lowest, highest, x, dy(lowest), dy(highest));
        if (spread.Clips(deviation)) {
            svg += ClippedMark(x, spread, deviations, deviation, "#d62728", true);
        } else {
            svg += Printf(
                "<rect class=\"relative\" data-value=\"%g\" x=\"%.2f\" y=\"%.2f\" width=\"8\" "
                "height=\"8\" fill=\"#d62728\"/>\n",
                deviation, x - 4, dy(deviation) - 4);
        }
        svg += XLabel(x, deviations, rows.names[k]) + "</g>\n";
    }
    svg += Printf(
        "<text x=\"%g\" y=\"%g\">&#9675; expected and its 95 %% interval; &#9632; observed "
        "(none: at the bottom); arrow: off the scale</text>\n",
        kPlotLeft, deviations.Bottom() + kKeyBelow);
    svg += Printf("<text class=\"chi-square\" x=\"%g\" y=\"%g\">", kPlotLeft,
                  deviations.Bottom() + kOneCommandChiBelow) +
           ChiSquareText(command, probabilities) + "</text>\n";
    return svg + "</svg>\n";
}

// Two standard deviations of the deviation in percent after n draws: the funnel within which
// about 95 % of the runs stay, narrowing as 1/sqrt(n).
double TwoDeviations(double n, double p) {
    return 200 * std::sqrt((1 - p) / (n * p));
}

// The vertical span, either side of zero, that holds every deviation whose expected count is at
// least 10; rarer rows go off the chart at its edge, marked.
double DeviationSpan(const std::vector<std::vector<RowPoint>>& rows,
                     const std::vector<double>& probabilities) {
    double largest = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        for (const RowPoint& point : rows[k]) {
            if (static_cast<double>(point.draws) * probabilities[k] >= 10) {
                largest = std::max(largest, std::fabs(point.deviation));
            }
        }
    }
    return RoundedSpan(largest);
}

// The deviation of each k, (observed - expected) / expected x 100, after each command, within
// the funnel of two standard deviations: the law of large numbers at work.
std::string SeveralCommands(const ChartSeries& commands, const ChartRows& names) {
    const std::vector<double>& probabilities = commands.probabilities();
    std::vector<std::vector<RowPoint>> rows;
    for (std::size_t k = 0; k < probabilities.size(); ++k) {
        rows.push_back(commands.Row(static_cast<int>(k)));
    }
    // The axis ends at the data, from the first command's draws to all of them, or, once the
    // commands are binned, at the first edge past them where no bin crosses a column's edge.
    const LogAxis draws{static_cast<double>(commands.first().draws), commands.AxisEnd()};
    const DeviationAxis axis{DeviationSpan(rows, probabilities)};
    const PlotFrame plot{kTop, kTrendHeight};
    const double keyLines = KeyLinesBelow(rows.size());
    const auto x = [&](double n) { return kPlotLeft + kPlotWidth * draws.Fraction(n); };
    const auto y = [&](double deviation) { return plot.Y(axis.Fraction(deviation)); };
    std::string svg = Header(Printf("Deviation in %% after %llu commands, against the draws",
                                    static_cast<unsigned long long>(commands.commands())),
                             plot.Bottom() + kTrendEnd + keyLines) +
                      Frame(plot) + DeviationGrid(axis, plot) +
                      AxisTitles(plot, "(observed - expected) / expected", "draws so far (log)");
    svg +=
        Printf("<g class=\"x-axis\" data-low=\"%g\" data-high=\"%g\"/>\n", draws.low, draws.high);
    for (double n = std::pow(10, std::ceil(std::log10(draws.low) - 1e-12));
         n <= draws.high * 1.0001; n *= 10) {
        svg += XLabel(x(n), plot, PowerOfTen(n));
    }
    // The funnels of the rows that the scale is made for; a rarer row's would fill the chart.
    const double all = static_cast<double>(commands.last().draws);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const double p = probabilities[k];
        if (all * p < 10) {
            continue;
        }
        const std::vector<RowPoint>& shown = rows[k];
        std::string upper, lower;
        for (auto point = shown.begin(); point != shown.end(); ++point) {
            upper += Printf("%.2f,%.2f ", x(static_cast<double>(point->draws)),
                            y(TwoDeviations(static_cast<double>(point->draws), p)));
        }
        for (auto point = shown.rbegin(); point != shown.rend(); ++point) {
            lower += Printf("%.2f,%.2f ", x(static_cast<double>(point->draws)),
                            y(-TwoDeviations(static_cast<double>(point->draws), p)));
        }
        svg += Printf(
            "<polygon class=\"envelope\" data-k=\"%zu\" data-last=\"%g\" fill=\"%s\" "
            "fill-opacity=\"0.08\" stroke=\"%s\" stroke-opacity=\"0.3\" stroke-dasharray=\"3,3\" "
            "points=\"%s%s\"/>\n",
            k, TwoDeviations(all, p), Colour(k), Colour(k), upper.c_str(), lower.c_str());
    }
    for (std::size_t k = 0; k < rows.size(); ++k) {
        svg += Printf(
            "<polyline class=\"deviation\" data-k=\"%zu\" fill=\"none\" stroke=\"%s\" "
            "stroke-width=\"1.5\" points=\"",
            k, Colour(k));
        std::string marks;
        const std::vector<RowPoint>& shown = rows[k];
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const double n = static_cast<double>(shown[i].draws);
            const double deviation = shown[i].deviation;
            svg += Printf("%.2f,%.2f ", x(n), y(deviation));
            if (axis.Clips(deviation)) {
                // The value is said where a run of clipped points ends.
                const bool last = i + 1 == shown.size() || !axis.Clips(shown[i + 1].deviation);
                marks += ClippedMark(x(n), axis, plot, deviation, Colour(k), last);
            }
        }
        svg += "\"/>\n" + marks;
        svg += Printf("<text x=\"%g\" y=\"%g\" fill=\"%s\">%s</text>\n",
                      kPlotLeft + kKeySpacing * static_cast<double>(k % kKeyPerLine),
                      plot.Bottom() + kKeyBelow + kKeyLine * static_cast<double>(k / kKeyPerLine),
                      Colour(k), names.names[k].c_str());
    }
    svg += Printf(
        "<text x=\"%g\" y=\"%g\">shaded: two standard deviations, shrinking as 1/sqrt(N); "
        "an arrow: off the scale</text>\n",
        kPlotLeft, plot.Bottom() + kTrendNoteBelow + keyLines);
    svg += Printf("<text class=\"chi-square\" x=\"%g\" y=\"%g\">", kPlotLeft,
                  plot.Bottom() + kTrendChiBelow + keyLines) +
           ChiSquareText(commands.last(), probabilities) + " (all draws)</text>\n";
    return svg + "</svg>\n";
}

}  // namespace

ChartRows MatchRows() {
    ChartRows rows{
        .names = {}, .countsTitle = "draws matching k (log)", .axisTitle = "k: favourites matched"};
    for (int k = 0; k < kResultRows; ++k) {
        rows.names.push_back("k = " + std::to_string(k));
    }
    return rows;
}

ChartRows TierRows(std::vector<std::string> names) {
    return {
        .names = std::move(names), .countsTitle = "draws in each tier (log)", .axisTitle = "tier"};
}

std::string ChartSvg(const ChartSeries& commands, const ChartRows& rows) {
    return commands.commands() == 1 ? OneCommand(commands.last(), commands.probabilities(), rows)
                                    : SeveralCommands(commands, rows);
}

}  // namespace loto
