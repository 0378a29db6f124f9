#include "stats/summary.h"

#include "platform/printf.h"

namespace loto {

std::string ChiSquareSummary(const Significance& significance, std::string_view separator,
                             std::string_view certain) {
    const std::optional<ChiSquareTest>& test = significance.chiSquare;
    if (!test && significance.possible <= 1) {
        return "chi-square: " + std::string(certain) + ", nothing to test";
    }
    if (!test) {
        return "chi-square: not enough draws, every class pooled into one";
    }
    return "chi-square: " + WithSeparator(Printf("%.4f", test->statistic), separator) + " with " +
           std::to_string(test->degreesOfFreedom) +
           " degrees of freedom, p = " + WithSeparator(Printf("%.4g", test->pValue), separator);
}

std::string WaitsChiSquare(const WaitsTest& test, std::string_view separator) {
    if (!test.chiSquare) {
        return "chi-square: no wait, nothing to test";
    }
    return ChiSquareSummary(*test.chiSquare, separator, "a single class of waits is possible");
}

}  // namespace loto
