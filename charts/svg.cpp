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
