#include "charts/waits_chart.h"

#include <algorithm>
#include <cmath>

#include "charts/svg.h"
#include "platform/printf.h"
#include "stats/summary.h"

namespace loto {
namespace {

constexpr double kHeight = 420;
constexpr PlotFrame kPlot{40, 290};

// An axis of values, logarithmic where they span more than two decades.
struct Axis {
    double low, high;
    bool log;
    static Axis Of(double low, double high) {
        if (high / low > 100) {
            const LogAxis around = LogAxis::Around(low, high);
            return {around.low, around.high, true};
        }
        return {0, high * 1.05, false};
    }
    [[nodiscard]] double Fraction(double value) const {
        return log ? LogAxis{low, high}.Fraction(value)
                   : std::clamp((value - low) / (high - low), 0.0, 1.0);
    }
    [[nodiscard]] std::string Label(double value) const {
        return log ? PowerOfTen(value) : Printf("%g", value);
    }
    // The labelled values: each power of ten, or five even steps.
    [[nodiscard]] std::vector<double> Ticks() const {
        std::vector<double> ticks;
        if (log) {
            for (double v = low; v <= high * 1.0001; v *= 10) {
                ticks.push_back(v);
            }
        } else {
            for (int i = 0; i <= 5; ++i) {
                ticks.push_back(low + (high - low) * i / 5);
            }
        }
        return ticks;
    }
};

double X(const Axis& axis, double wait) {
    return kPlotLeft + kPlotWidth * axis.Fraction(wait);
}

double Y(const Axis& axis, double density) {
    return kPlot.Y(axis.Fraction(density));
}

std::string Axes(const Axis& waits, const Axis& density) {
    std::string svg = Frame(kPlot);
    for (const double v : density.Ticks()) {
        svg += GridLine(Y(density, v), density.Label(v));
    }
    for (const double v : waits.Ticks()) {
        svg += XLabel(X(waits, v), kPlot, waits.Label(v));
    }
    const double middle = kPlot.top + kPlot.height / 2;
    return svg +
           Printf(
               "<text x=\"%g\" y=\"%.2f\" text-anchor=\"middle\" transform=\"rotate(-90 "
               "%g %.2f)\">waits a draw of wait%s</text>\n",
               kVerticalTitleX, middle, kVerticalTitleX, middle, density.log ? " (log)" : "") +
           Printf("<text x=\"%g\" y=\"%g\" text-anchor=\"middle\">wait in draws%s</text>\n",
                  kPlotLeft + kPlotWidth / 2, kPlot.Bottom() + kAxisTitleBelow,
                  waits.log ? " (log)" : "");
}

}  // namespace

std::string WaitsChartSvg(const std::string& tier, const WaitsSample& sample,
                          const WaitsTest& test) {
    const double p = sample.probability;
    const auto count = static_cast<double>(sample.count());
    const auto law = [&](double w) { return count * p * std::pow(1 - p, w - 1); };
    std::vector<const WaitClass*> bars;
    for (const WaitClass& c : test.bars) {
        if (c.last != 0) {
            bars.push_back(&c);
        }
    }
    const double last = bars.empty() ? 1 : static_cast<double>(bars.back()->last);
    const Axis waits = Axis::Of(1, std::max(last, 2.0));
    // The density axis spans what came; the law's tail runs out along its floor.
    double highest = law(1), lowest = law(1);
    for (const WaitClass* c : bars) {
        const double density =
            static_cast<double>(c->observed) / static_cast<double>(c->last - c->first + 1);
        highest = std::max(highest, density);
        lowest = density > 0 ? std::min(lowest, density) : lowest;
    }
    const Axis density = Axis::Of(lowest / 10, highest);
    std::string svg = SvgStart(kChartWidth, kHeight,
                               Printf("Waits for tier %s: %llu commands against the geometric law",
                                      tier.c_str(), static_cast<unsigned long long>(count))) +
                      Axes(waits, density);
    for (const WaitClass* c : bars) {
        const double width = static_cast<double>(c->last - c->first + 1);
        const double value = static_cast<double>(c->observed) / width;
        const double left = X(waits, static_cast<double>(c->first) - (waits.log ? 0 : 0.5));
        const double right = X(waits, static_cast<double>(c->last) + (waits.log ? 1 : 0.5));
        const double top = value > 0 ? Y(density, value) : kPlot.Bottom();
        svg += Printf(
            "<rect class=\"class\" data-first=\"%llu\" data-last=\"%llu\" "
            "data-observed=\"%llu\" data-expected=\"%g\" x=\"%.2f\" y=\"%.2f\" "
            "width=\"%.2f\" height=\"%.2f\" fill=\"#1f77b4\" fill-opacity=\"0.6\"/>\n",
            static_cast<unsigned long long>(c->first), static_cast<unsigned long long>(c->last),
            static_cast<unsigned long long>(c->observed), c->probability * count, left, top,
            std::max(right - left, 1.0), kPlot.Bottom() - top);
    }
    std::string path;
    constexpr int kSteps = 200;
    for (int i = 0; i <= kSteps; ++i) {
        const double w = waits.log ? std::pow(last, static_cast<double>(i) / kSteps)
                                   : 1 + (last - 1) * i / kSteps;
        path += Printf("%s%.2f,%.2f ", i == 0 ? "M" : "L", X(waits, w), Y(density, law(w)));
    }
    svg += "<path class=\"law\" d=\"" + path + "\" fill=\"none\" stroke=\"#d62728\" " +
           "stroke-width=\"2\"/>\n";
    svg += Printf(
        "<text x=\"%g\" y=\"%g\" text-anchor=\"middle\">bars: waits that came; red: "
        "the law, p = %.4g; %llu beyond the bound of %llu draws</text>\n",
        kChartWidth / 2, kPlot.Bottom() + 58, p, static_cast<unsigned long long>(sample.censored),
        static_cast<unsigned long long>(sample.bound));
    svg += Printf("<text x=\"%g\" y=\"%g\" text-anchor=\"middle\">", kChartWidth / 2,
                  kPlot.Bottom() + 78) +
           WaitsChiSquare(test) + "</text>\n</svg>\n";
    return svg;
}

}  // namespace loto
