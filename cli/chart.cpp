#include "cli/chart.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <cmath>
#include <cstdio>

#include "cli/significance.h"
#include "cli/text_format.h"

namespace loto {
namespace {

constexpr double kWidth = 640, kHeight = 420;
constexpr double kLeft = 70, kRight = 20, kTop = 40, kBottom = 90;  // margins of the plot
constexpr double kPlotWidth = kWidth - kLeft - kRight, kPlotHeight = kHeight - kTop - kBottom;
constexpr const char* kColours[7] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728",
                                     "#9467bd", "#8c564b", "#e377c2"};

// A logarithmic axis from `low` to `high`, both powers of ten.
struct LogAxis {
    double low, high;
    static LogAxis Around(double smallest, double largest) {
        return {std::pow(10, std::floor(std::log10(smallest))),
                std::pow(10, std::ceil(std::log10(std::max(largest, 1.0)) + 1e-12))};
    }
    [[nodiscard]] double Fraction(double value) const {
        const double v = std::clamp(value, low, high);
        return (std::log10(v) - std::log10(low)) / (std::log10(high) - std::log10(low));
    }
};

std::string Header(const std::string& title) {
    return Printf(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" "
               "viewBox=\"0 0 %g %g\" font-family=\"sans-serif\" font-size=\"12\">\n"
               "<rect width=\"100%%\" height=\"100%%\" fill=\"#ffffff\"/>\n",
               kWidth, kHeight, kWidth, kHeight) +
           Printf("<text x=\"%g\" y=\"24\" text-anchor=\"middle\" font-size=\"15\">", kWidth / 2) +
           title + "</text>\n" +
           Printf(
               "<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" fill=\"none\" "
               "stroke=\"#888888\"/>\n",
               kLeft, kTop, kPlotWidth, kPlotHeight);
}

// Grid lines and labels at each power of ten of a vertical log axis.
std::string VerticalLogAxis(const LogAxis& axis) {
    std::string svg =
        Printf("<g class=\"y-axis\" data-low=\"%g\" data-high=\"%g\">\n", axis.low, axis.high);
    for (double v = axis.low; v <= axis.high * 1.0001; v *= 10) {
        const double y = kTop + kPlotHeight * (1 - axis.Fraction(v));
        svg += Printf(
            "<line x1=\"%g\" y1=\"%.2f\" x2=\"%g\" y2=\"%.2f\" stroke=\"#dddddd\"/>"
            "<text x=\"%g\" y=\"%.2f\" text-anchor=\"end\">%g</text>\n",
            kLeft, y, kLeft + kPlotWidth, y, kLeft - 6, y + 4, v);
    }
    return svg + "</g>\n";
}

std::string ChiSquareText(const Tally& tally, std::uint64_t draws) {
    return ChiSquareSummary(TestSignificance(tally, draws).chiSquare);
}

std::string OneCommand(const ChartPoint& command) {
    const auto n = static_cast<double>(command.draws);
    double smallest = 1e300, largest = 0;
    std::array<double, 7> expected{}, low{}, high{};
    for (int k = 0; k < 7; ++k) {
        const boost::math::binomial_distribution<double> chance(n, MatchProbability(k));
        expected[k] = BinomialMean(n, k);
        low[k] = boost::math::quantile(chance, 0.025);
        high[k] = boost::math::quantile(chance, 0.975);
        for (const double v :
             {expected[k], low[k], high[k], static_cast<double>(command.tally[k])}) {
            if (v > 0) {
                smallest = std::min(smallest, v);
                largest = std::max(largest, v);
            }
        }
    }
    const LogAxis axis = LogAxis::Around(smallest, largest);
    const auto y = [&](double v) { return kTop + kPlotHeight * (1 - axis.Fraction(v)); };
    std::string svg = Header(Printf("%llu draw%s: observed and expected counts",
                                    static_cast<unsigned long long>(command.draws),
                                    command.draws == 1 ? "" : "s")) +
                      VerticalLogAxis(axis);
    for (int k = 0; k < 7; ++k) {
        const double x = kLeft + kPlotWidth * (k + 0.5) / 7;
        const auto observed = static_cast<double>(command.tally[k]);
        svg += Printf("<g class=\"k\" data-k=\"%d\">\n", k);
        svg += Printf(
            "<line class=\"interval\" data-low=\"%g\" data-high=\"%g\" x1=\"%.2f\" "
            "y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\" stroke=\"#888888\" stroke-width=\"3\"/>\n",
            low[k], high[k], x, y(low[k]), x, y(high[k]));
        svg += Printf(
            "<circle class=\"expected\" data-value=\"%g\" cx=\"%.2f\" cy=\"%.2f\" "
            "r=\"5\" fill=\"none\" stroke=\"#1f77b4\" stroke-width=\"2\"/>\n",
            expected[k], x, y(expected[k]));
        svg += Printf(
            "<rect class=\"observed\" data-value=\"%g\" x=\"%.2f\" y=\"%.2f\" "
            "width=\"8\" height=\"8\" fill=\"#d62728\"/>\n",
            observed, x - 4, y(observed) - 4);
        svg += Printf("<text x=\"%.2f\" y=\"%g\" text-anchor=\"middle\">k = %d</text>\n</g>\n", x,
                      kTop + kPlotHeight + 18, k);
    }
    svg += Printf(
        "<text x=\"%g\" y=\"%g\">&#9675; expected, with its 95 %% interval; "
        "&#9632; observed (none: at the bottom)</text>\n",
        kLeft, kTop + kPlotHeight + 42);
    svg += Printf("<text class=\"chi-square\" x=\"%g\" y=\"%g\">", kLeft, kTop + kPlotHeight + 64) +
           ChiSquareText(command.tally, command.draws) + "</text>\n";
    return svg + "</svg>\n";
}

double Deviation(const ChartPoint& point, int k) {
    return DeviationPercent(static_cast<double>(point.tally[k]),
                            BinomialMean(static_cast<double>(point.draws), k));
}

// The vertical span, either side of zero, that holds every deviation whose expected count is at
// least 10, rounded up to 1, 2 or 5 times a power of ten; rarer rows go off the chart at its edge.
double DeviationSpan(const std::vector<ChartPoint>& commands) {
    double largest = 0;
    for (const ChartPoint& point : commands) {
        for (int k = 0; k < 7; ++k) {
            if (BinomialMean(static_cast<double>(point.draws), k) >= 10) {
                largest = std::max(largest, std::fabs(Deviation(point, k)));
            }
        }
    }
    if (largest == 0) {
        return 100;
    }
    const double power = std::pow(10, std::floor(std::log10(largest)));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (largest <= step * power) {
            return step * power;
        }
    }
    return 10 * power;
}

// A power of ten as 10 with its exponent raised.
std::string PowerOfTen(double value) {
    return Printf("10<tspan baseline-shift=\"super\" font-size=\"9\">%.0f</tspan>",
                  std::log10(value));
}

// The deviation of each k, (observed - expected) / expected x 100, after each command.
std::string SeveralCommands(const std::vector<ChartPoint>& commands) {
    const LogAxis draws = LogAxis::Around(static_cast<double>(commands.front().draws),
                                          static_cast<double>(commands.back().draws));
    const double kSpan = DeviationSpan(commands);  // percent, either side
    const auto x = [&](double n) { return kLeft + kPlotWidth * draws.Fraction(n); };
    const auto y = [&](double deviation) {
        return kTop + kPlotHeight * (0.5 - std::clamp(deviation, -kSpan, kSpan) / (2 * kSpan));
    };
    std::string svg =
        Header(Printf("Deviation in %% after %zu commands, against the draws", commands.size()));
    svg +=
        Printf("<g class=\"x-axis\" data-low=\"%g\" data-high=\"%g\"/>\n", draws.low, draws.high);
    for (const double d : {-kSpan, -kSpan / 2, 0.0, kSpan / 2, kSpan}) {
        svg += Printf(
            "<line x1=\"%g\" y1=\"%.2f\" x2=\"%g\" y2=\"%.2f\" stroke=\"#dddddd\"/>"
            "<text x=\"%g\" y=\"%.2f\" text-anchor=\"end\">%+g %%</text>\n",
            kLeft, y(d), kLeft + kPlotWidth, y(d), kLeft - 6, y(d) + 4, d);
    }
    for (double n = draws.low; n <= draws.high * 1.0001; n *= 10) {
        svg += Printf("<text x=\"%.2f\" y=\"%g\" text-anchor=\"middle\">", x(n),
                      kTop + kPlotHeight + 18) +
               PowerOfTen(n) + "</text>\n";
    }
    for (int k = 0; k < 7; ++k) {
        svg += Printf(
            "<polyline class=\"deviation\" data-k=\"%d\" fill=\"none\" stroke=\"%s\" "
            "stroke-width=\"1.5\" points=\"",
            k, kColours[k]);
        for (const ChartPoint& point : commands) {
            svg +=
                Printf("%.2f,%.2f ", x(static_cast<double>(point.draws)), y(Deviation(point, k)));
        }
        svg += "\"/>\n";
        svg += Printf("<text x=\"%g\" y=\"%g\" fill=\"%s\">k = %d</text>\n", kLeft + 80.0 * k,
                      kTop + kPlotHeight + 42, kColours[k], k);
    }
    svg += Printf("<text class=\"chi-square\" x=\"%g\" y=\"%g\">", kLeft, kTop + kPlotHeight + 64) +
           ChiSquareText(commands.back().tally, commands.back().draws) + " (all draws)</text>\n";
    return svg + "</svg>\n";
}

}  // namespace

std::string ChartSvg(const std::vector<ChartPoint>& commands) {
    return commands.size() == 1 ? OneCommand(commands.front()) : SeveralCommands(commands);
}

}  // namespace loto
