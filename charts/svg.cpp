#include "charts/svg.h"

#include "platform/printf.h"

namespace loto {

std::string SvgStart(double width, double height, const std::string& title) {
    return Printf(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" "
               "viewBox=\"0 0 %g %g\" font-family=\"sans-serif\" font-size=\"12\">\n"
               "<rect width=\"100%%\" height=\"100%%\" fill=\"#ffffff\"/>\n",
               width, height, width, height) +
           Printf("<text x=\"%g\" y=\"24\" text-anchor=\"middle\" font-size=\"15\">", width / 2) +
           title + "</text>\n";
}

std::string Frame(const PlotFrame& plot) {
    return Printf(
        "<rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" fill=\"none\" stroke=\"#888888\"/>\n",
        kPlotLeft, plot.top, kPlotWidth, plot.height);
}

std::string GridLine(double y, const std::string& label) {
    return Printf(
               "<line x1=\"%g\" y1=\"%.2f\" x2=\"%g\" y2=\"%.2f\" stroke=\"#dddddd\"/>"
               "<text x=\"%g\" y=\"%.2f\" text-anchor=\"end\">",
               kPlotLeft, y, kPlotLeft + kPlotWidth, y, kPlotLeft - kTickGap, y + 4) +
           label + "</text>\n";
}

std::string XLabel(double x, const PlotFrame& plot, const std::string& label) {
    return Printf("<text x=\"%.2f\" y=\"%g\" text-anchor=\"middle\">", x,
                  plot.Bottom() + kTicksBelow) +
           label + "</text>\n";
}

std::string AxisTitles(const PlotFrame& plot, const char* vertical, const char* horizontal) {
    const double middle = plot.top + plot.height / 2;
    std::string svg = Printf(
        "<text class=\"axis-title\" x=\"%g\" y=\"%.2f\" text-anchor=\"middle\" "
        "transform=\"rotate(-90 %g %.2f)\">%s</text>\n",
        kVerticalTitleX, middle, kVerticalTitleX, middle, vertical);
    if (horizontal != nullptr) {
        svg += Printf(
            "<text class=\"axis-title\" x=\"%g\" y=\"%g\" text-anchor=\"middle\">%s</text>\n",
            kPlotLeft + kPlotWidth / 2, plot.Bottom() + kAxisTitleBelow, horizontal);
    }
    return svg;
}

std::string DeviationGrid(const DeviationAxis& axis, const PlotFrame& plot) {
    std::string svg = Printf("<g class=\"deviation-axis\" data-span=\"%g\">\n", axis.span);
    for (const double d : {-axis.span, -axis.span / 2, 0.0, axis.span / 2, axis.span}) {
        svg += GridLine(plot.Y(axis.Fraction(d)), Printf("%+g %%", d));
    }
    return svg + "</g>\n";
}

double RoundedSpan(double largest) {
    if (!(largest > 0)) {
        return 100;
    }
    const double power = std::pow(10, std::floor(std::log10(largest)));
    for (const double step : {1.0, 2.0, 5.0}) {
        if (largest <= step * power) {
            return step * power;
        }
    }
    return 10 * power;
}

std::string PowerOfTen(double value) {
    return Printf("10<tspan baseline-shift=\"super\" font-size=\"9\">%.0f</tspan>",
                  std::log10(value));
}

}  // namespace loto
