#include "form/simulate_report.h"

#include <cmath>

#include "platform/number_text.h"

namespace loto {
namespace {

constexpr std::string_view kExpectedPattern = "##0.########";
constexpr std::string_view kDeviationPattern = "#####0.#####";

}  // namespace

std::optional<float> SimulateReport::ShownExpected(int k) const {
    const float value = expected.at(static_cast<std::size_t>(k));
    return completed() && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

std::optional<double> SimulateReport::ShownDeviation(int k) const {
    const double value = deviations.at(static_cast<std::size_t>(k));
    return completed() && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

ResultTexts ShownTexts(const SimulateReport& report, std::string_view separator) {
    ResultTexts texts;
    if (report.refused()) {
        return texts;
    }
    for (int k = 0; k < kResultRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        texts[ResultColumn::Stat][i] = CountToText(static_cast<double>(report.tally[i]), separator);
        if (const std::optional<float> expected = report.ShownExpected(k)) {
            texts[ResultColumn::Theo][i] =
                FormatSinglePattern(*expected, kExpectedPattern, separator);
        }
        if (const std::optional<double> deviation = report.ShownDeviation(k)) {
            texts[ResultColumn::Ecart][i] = FormatPattern(*deviation, kDeviationPattern, separator);
        }
    }
    return texts;
}

}  // namespace loto
