#include "charts/audit_chart.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <cmath>
#include <vector>

#include "audit/gaps.h"
#include "charts/svg.h"
#include "platform/printf.h"

namespace loto {
namespace {

constexpr double kFunnelHeight = 240, kGapsHeight = 200;
// Above each plot its title; under it, after its axis' labels and title, a key.
constexpr double kTitleAbove = 16, kPlotAbove = 40, kKeyBelow = 56, kPlotEnd = 76;
constexpr double kTitleHeight = 30;     // the chart's own title, above the plots
constexpr int kCheckpoints = 120;       // points of each number's path, log-spaced in draws
constexpr double kFewestExpected = 10;  // the path starts once a number is expected this often
constexpr double kFunnelLevel = 0.95;

std::string Titles(const PlotFrame& plot, const std::string& title, const char* vertical,
                   const char* horizontal) {
    return Printf("<text x=\"%g\" y=\"%g\" text-anchor=\"middle\" font-size=\"14\">",
                  kChartWidth / 2, plot.top - kTitleAbove) +
           title + "</text>\n" + AxisTitles(plot, vertical, horizontal);
}

// Each number's deviation in percent from its expected count after d_j draws, d_j log-spaced from
// the first with kFewestExpected expected to all of them.
struct Paths {
    std::vector<std::uint64_t> draws;
    std::vector<std::vector<double>> deviation;  // by number, then checkpoint
};

Paths NumberPaths(const PoolHistory& pool) {
    const double p = static_cast<double>(pool.drawn) / pool.top;
    const std::uint64_t all = pool.draws();
    const auto first = static_cast<std::uint64_t>(std::ceil(kFewestExpected / p));
    Paths paths;
    paths.deviation.resize(static_cast<std::size_t>(pool.top));
    if (first >= all) {
        return paths;
    }
    const double ratio = std::log(static_cast<double>(all) / static_cast<double>(first));
    std::vector<std::uint64_t> counts(paths.deviation.size());
    std::uint64_t t = 0;
    for (int j = 0; j <= kCheckpoints; ++j) {
        const auto to = static_cast<std::uint64_t>(
            std::llround(static_cast<double>(first) * std::exp(ratio * j / kCheckpoints)));
        if (!paths.draws.empty() && to <= paths.draws.back()) {
            continue;
        }
        for (; t < to; ++t) {
            for (const std::uint8_t x : pool.Draw(t)) {
                ++counts[x - 1u];
            }
        }
        paths.draws.push_back(to);
        const double expected = static_cast<double>(to) * p;
        for (std::size_t n = 0; n < counts.size(); ++n) {
            paths.deviation[n].push_back(100 * (static_cast<double>(counts[n]) / expected - 1));
        }
    }
    return paths;
}

// The z of a two-sided level for one number, or for all N at once by Šidák.
double TwoSidedZ(double level, double compared) {
    const double single = std::pow(level, 1 / compared);
    return quantile(boost::math::normal(), (1 + single) / 2);
}

std::string FunnelPolygon(const Paths& paths, double z, double p, const char* name, const auto& x,
                          const auto& y) {
    std::string upper, lower;
    for (const std::uint64_t d : paths.draws) {
        const double width = z * 100 * std::sqrt((1 - p) / (static_cast<double>(d) * p));
        upper += Printf("%.2f,%.2f ", x(d), y(width));
        lower.insert(0, Printf("%.2f,%.2f ", x(d), y(-width)));
    }
    return Printf(
               "<polygon class=\"%s\" data-z=\"%g\" fill=\"#1f77b4\" fill-opacity=\"0.08\" "
               "stroke=\"#1f77b4\" stroke-opacity=\"0.4\" stroke-dasharray=\"3,3\" points=\"",
               name, z) +
           upper + lower + "\"/>\n";
}

// The number whose last deviation is the largest either way.
std::size_t MostExtreme(const Paths& paths) {
    std::size_t extreme = 0;
    for (std::size_t n = 0; n < paths.deviation.size(); ++n) {
        if (std::abs(paths.deviation[n].back()) > std::abs(paths.deviation[extreme].back())) {
            extreme = n;
        }
    }
    return extreme;
}

std::string FunnelPlot(const PoolHistory& pool, const std::string& name, double top) {
    const PlotFrame plot{top + kPlotAbove, kFunnelHeight};
    const Paths paths = NumberPaths(pool);
    std::string svg =
        Frame(plot) + Titles(plot, name + ": each number's deviation from its expected count",
                             "observed / expected - 1", "draws so far (log)");
    if (paths.draws.size() < 2) {
        return svg + Printf(
                         "<text x=\"%g\" y=\"%.2f\" text-anchor=\"middle\">too few draws: "
                         "a number is expected fewer than %g times</text>\n",
                         kPlotLeft + kPlotWidth / 2, plot.Y(0.5), kFewestExpected);
    }
    const double p = static_cast<double>(pool.drawn) / pool.top;
    const double wide = TwoSidedZ(kFunnelLevel, pool.top);
    double largest = wide * 100 * std::sqrt((1 - p) / (static_cast<double>(paths.draws[0]) * p));
    for (const std::vector<double>& path : paths.deviation) {
        for (const double d : path) {
            largest = std::max(largest, std::abs(d));
        }
    }
    const double span = RoundedSpan(largest);
    const double low = std::log10(static_cast<double>(paths.draws.front()));
    const double high = std::log10(static_cast<double>(paths.draws.back()));
    const auto x = [&](std::uint64_t d) {
        return kPlotLeft + kPlotWidth * (std::log10(static_cast<double>(d)) - low) / (high - low);
    };
    const auto y = [&](double deviation) { return plot.Y(0.5 + deviation / (2 * span)); };
    svg += DeviationGrid({span}, plot);
    for (double d = std::pow(10, std::ceil(low - 1e-12)); std::log10(d) <= high + 1e-12; d *= 10) {
        svg += XLabel(x(static_cast<std::uint64_t>(d)), plot, Printf("%.0f", d));
    }
    svg += FunnelPolygon(paths, TwoSidedZ(kFunnelLevel, 1), p, "funnel", x, y) +
           FunnelPolygon(paths, wide, p, "funnel-all", x, y);
    const std::size_t extreme = MostExtreme(paths);
    for (std::size_t pass = 0; pass < 2; ++pass) {  // the extreme number last, on top
        for (std::size_t n = 0; n < paths.deviation.size(); ++n) {
            if ((n == extreme) != (pass == 1)) {
                continue;
            }
            svg += Printf(
                "<polyline class=\"number\" data-number=\"%zu\" data-last=\"%g\" fill=\"none\" "
                "stroke=\"%s\" stroke-width=\"%s\" points=\"",
                n + 1, paths.deviation[n].back(), n == extreme ? "#d62728" : "#999999",
                n == extreme ? "1.5" : "0.6");
            for (std::size_t j = 0; j < paths.draws.size(); ++j) {
                svg += Printf("%.2f,%.2f ", x(paths.draws[j]), y(paths.deviation[n][j]));
            }
            svg += "\"/>\n";
        }
    }
    return svg + Printf(
                     "<text x=\"%g\" y=\"%g\">red: number %zu, the farthest at the end; "
                     "shaded: 95 %% for one number, and for all %d</text>\n",
                     kPlotLeft, plot.Bottom() + kKeyBelow, extreme + 1, pool.top);
}

std::string GapsPlot(const PoolHistory& pool, const std::string& name, double top) {
    const PlotFrame plot{top + kPlotAbove, kGapsHeight};
    std::string svg =
        Frame(plot) + Titles(plot, name + ": gaps between a number's appearances", "gaps (log)",
                             "gap in draws (the last bar: that gap and longer)");
    GapChiSquare test(pool);
    const auto histogram = test.Histogram(pool);
    double gaps = 0;
    for (const std::uint64_t count : histogram) {
        gaps += static_cast<double>(count);
    }
    if (gaps == 0) {
        return svg + Printf(
                         "<text x=\"%g\" y=\"%.2f\" text-anchor=\"middle\">no gap: no number "
                         "came back</text>\n",
                         kPlotLeft + kPlotWidth / 2, plot.Y(0.5));
    }
    const double p = static_cast<double>(pool.drawn) / pool.top;
    std::vector<double> expected;
    for (std::size_t g = 1; g <= histogram.size(); ++g) {
        const double reach = std::pow(1 - p, static_cast<double>(g) - 1);
        expected.push_back(gaps * (g < histogram.size() ? reach * p : reach));
    }
    const double smallest = *std::min_element(expected.begin(), expected.end());
    const LogAxis axis = LogAxis::Around(std::min(smallest, 1.0), gaps);
    for (double v = axis.low; v <= axis.high * 1.0001; v *= 10) {
        svg += GridLine(plot.Y(axis.Fraction(v)), PowerOfTen(v));
    }
    const double bar = kPlotWidth / static_cast<double>(histogram.size());
    std::string line;
    for (std::size_t i = 0; i < histogram.size(); ++i) {
        const double left = kPlotLeft + bar * static_cast<double>(i);
        const auto count = static_cast<double>(histogram[i]);
        const double height = count > 0 ? plot.height * axis.Fraction(count) : 0;
        svg += Printf(
            "<rect class=\"gap\" data-gap=\"%zu\" data-value=\"%g\" data-expected=\"%g\" "
            "x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"#d62728\" "
            "fill-opacity=\"0.6\"/>\n",
            i + 1, count, expected[i], left, plot.Bottom() - height, std::max(bar - 1, 0.5),
            height);
        const double middle = left + bar / 2;
        const double expectedY = plot.Y(axis.Fraction(expected[i]));
        if (i + 1 < histogram.size()) {
            line += Printf("%.2f,%.2f ", middle, expectedY);
        } else {  // the open bin's tail, apart from the law's line
            svg += Printf(
                "<circle class=\"tail\" data-value=\"%g\" cx=\"%.2f\" cy=\"%.2f\" r=\"3\" "
                "fill=\"none\" stroke=\"#1f77b4\" stroke-width=\"1.5\"/>\n",
                expected[i], middle, expectedY);
        }
        if (i == 0 || (i + 1) % 10 == 0) {
            svg += XLabel(middle, plot, std::to_string(i + 1));
        }
    }
    svg +=
        "<polyline class=\"geometric\" fill=\"none\" stroke=\"#1f77b4\" stroke-width=\"1.5\" "
        "points=\"" +
        line + "\"/>\n";
    return svg + Printf(
                     "<text x=\"%g\" y=\"%g\">bars: gaps observed; line: the geometric law, "
                     "p = %d/%d, for as many gaps; circle: its tail</text>\n",
                     kPlotLeft, plot.Bottom() + kKeyBelow, pool.drawn, pool.top);
}

}  // namespace

std::string AuditSvg(const History& history, const Game& game) {
    std::vector<std::pair<const PoolHistory*, std::string>> pools{{&history.main, "main pool"}};
    if (game.hasSecond()) {
        pools.emplace_back(&history.second, "second pool");
    }
    const double section = 2 * (kPlotAbove + kPlotEnd) + kFunnelHeight + kGapsHeight;
    const double height = kTitleHeight + section * static_cast<double>(pools.size());
    std::string svg = SvgStart(kChartWidth, height,
                               Printf("Audit of %zu draws of %s: numbers and gaps against a fair "
                                      "draw",
                                      history.main.draws(), GameName(game).c_str()));
    double top = kTitleHeight;
    for (const auto& [pool, name] : pools) {
        svg += FunnelPlot(*pool, name, top);
        top += kPlotAbove + kFunnelHeight + kPlotEnd;
        svg += GapsPlot(*pool, name, top);
        top += kPlotAbove + kGapsHeight + kPlotEnd;
    }
    return svg + "</svg>\n";
}

}  // namespace loto
