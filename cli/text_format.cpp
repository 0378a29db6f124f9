#include "cli/text_format.h"

namespace loto {

std::string WithSeparator(std::string figure, std::string_view separator) {
    const std::size_t period = figure.find('.');
    return period == std::string::npos ? figure : figure.replace(period, 1, separator);
}

std::string ChiSquareSummary(const std::optional<ChiSquareTest>& test, std::string_view separator) {
    if (!test) {
        return "chi-square: not enough draws, every class pooled into one";
    }
    return "chi-square: " + WithSeparator(Printf("%.4f", test->statistic), separator) + " with " +
           std::to_string(test->degreesOfFreedom) +
           " degrees of freedom, p = " + WithSeparator(Printf("%.4g", test->pValue), separator);
}

}  // namespace loto
