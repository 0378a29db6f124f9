#include "panel/panel_cells.h"

#include <cmath>

#include "platform/printf.h"
#include "platform/text_to_number.h"

namespace loto {

PanelCell FigureCell(std::optional<double> value, FrenchDigits digits, const std::string& unit) {
    if (!value) {
        return {"-", {}};
    }
    return {FrenchNumber(*value, digits) + unit, *value};
}

PanelCell StatisticCell(double value, FrenchDigits digits) {
    return FigureCell(std::isfinite(value) ? std::optional(value) : std::nullopt, digits);
}

PanelCell ProbabilityCell(double p) {
    if (!std::isfinite(p) || p == 0 || p >= 1e-4) {
        return StatisticCell(p, kFourFigures);
    }
    const std::string scientific = Printf("%.3e", p);  // "1.234e-07": rounded once, to 4 figures
    const std::size_t e = scientific.find('e');
    const double mantissa = TextToNumber(scientific.substr(0, e)).value_or(NAN);
    const double exponent = TextToNumber(scientific.substr(e + 1)).value_or(NAN);
    return {FrenchNumber(mantissa, kFourFigures) + " × 10^" + FrenchNumber(exponent, {}), p};
}

}  // namespace loto
