#include "charts/rounds_chart.h"

#include <algorithm>

#include "charts/svg.h"
#include "platform/printf.h"

namespace loto {

std::string RoundsChartSvg(const Rounds& rounds) {
    constexpr double kHeight = 360;
    const PlotFrame plot{40, 250};
    double highest = 1;
    for (const auto& [draw, jackpot] : rounds.path) {
        highest = std::max(highest, jackpot / 100);
    }
    const double span = RoundedSpan(highest);
    const double last = static_cast<double>(std::max<std::uint64_t>(rounds.draws, 1));
    const auto x = [&](std::uint64_t draw) {
        return kPlotLeft + kPlotWidth * static_cast<double>(draw) / last;
    };
    std::string svg = SvgStart(kChartWidth, kHeight,
                               "The jackpot over " + std::to_string(rounds.draws) + " draws") +
                      Frame(plot) + AxisTitles(plot, "jackpot", "draw");
    for (int step = 0; step <= 4; ++step) {
        svg += GridLine(plot.Y(step / 4.0), Printf("%g", span * step / 4));
    }
    for (int step = 0; step <= 4; ++step) {
        const auto draw = static_cast<std::uint64_t>(last * step / 4);
        svg += XLabel(x(draw), plot, std::to_string(draw));
    }
    svg += "<polyline class=\"jackpot\" fill=\"none\" stroke=\"#1f77b4\" points=\"";
    for (const auto& [draw, jackpot] : rounds.path) {
        svg += Printf("%.2f,%.2f ", x(draw), plot.Y(jackpot / 100 / span));
    }
    svg += "\"/>\n";
    for (const auto& [draw, won] : rounds.userWins) {
        svg += Printf(
            "<circle class=\"win\" data-draw=\"%llu\" data-won=\"%g\" cx=\"%.2f\" cy=\"%.2f\" "
            "r=\"3\" fill=\"#d62728\"/>\n",
            static_cast<unsigned long long>(draw), won / 100, x(draw), plot.Bottom() - 4);
    }
    return svg +
           Printf("<text x=\"%g\" y=\"%g\">red: the draws at which the ticket won</text>\n",
                  kPlotLeft, plot.Bottom() + kAxisTitleBelow + 20) +
           "</svg>\n";
}

}  // namespace loto
