#include "cli/play_summary.h"

#include <sstream>

#include "cli/json_numbers.h"
#include "cli/text_format.h"
#include "stats/summary.h"

namespace loto {

using nlohmann::json;

json WaitsJson(const std::string& tier, const WaitsSample& sample, const WaitsTest& test) {
    json classes = json::array();
    for (const WaitClass& c : test.classes) {
        classes.push_back(
            {{"first", c.first},
             {"last", c.last != 0 ? json(c.last) : json()},
             {"observed", c.observed},
             {"expected", JsonDouble(c.probability * static_cast<double>(sample.count()))}});
    }
    const ChiSquareTest* chi =
        test.chiSquare && test.chiSquare->chiSquare ? &*test.chiSquare->chiSquare : nullptr;
    return {{"waits",
             {{"tier", tier},
              {"probability", JsonDouble(sample.probability)},
              {"commands", sample.count()},
              {"bound", sample.bound},
              {"censored", sample.censored},
              {"mean", JsonDouble(test.mean)},
              {"law_mean", JsonDouble(test.lawMean)},
              {"law_mean_below_bound", JsonDouble(test.lawMeanBelowBound)},
              {"median", JsonDouble(test.median)},
              {"law_median", JsonDouble(test.lawMedian)},
              {"classes", classes},
              {"chi_square", chi != nullptr ? JsonDouble(chi->statistic) : json()},
              {"df", chi != nullptr ? json(chi->degreesOfFreedom) : json()},
              {"p_value", chi != nullptr ? JsonDouble(chi->pValue) : json()}}}};
}

std::string WaitsText(const std::string& tier, const WaitsSample& sample, const WaitsTest& test,
                      std::string_view separator) {
    const auto figure = [separator](std::optional<double> value) {
        return Fixed(value, 2, separator);
    };
    std::ostringstream out;
    out << "waits for " << tier << ": " << sample.count() << " commands, " << sample.censored
        << " reached the bound of " << sample.bound << " draws\n";
    out << "  mean " << figure(test.mean) << " (law " << figure(test.lawMean);
    if (test.lawMeanBelowBound) {
        out << "; " << figure(test.lawMeanBelowBound) << " for the waits within the bound";
    }
    out << "), median " << figure(test.median) << " (law " << figure(test.lawMedian) << ")\n";
    out << "  against the geometric law: " << WaitsChiSquare(test, separator) << '\n';
    return out.str();
}

json SummaryJson(const Lifetimes::Summary& summary) {
    return {{"summary",
             {{"lifetimes", summary.lifetimes},
              {"ahead", JsonDouble(summary.ahead)},
              {"net_median", JsonDigits(AmountText(summary.median))},
              {"net_p01", JsonDigits(AmountText(summary.p01))},
              {"net_p99", JsonDigits(AmountText(summary.p99))},
              {"net_mean", JsonDouble(summary.mean / 100)},
              {"net_sd", JsonDouble(summary.sd / 100)},
              {"expected_net", JsonDouble(summary.expectedNet / 100)},
              {"expected_sd", JsonDouble(summary.expectedSd / 100)}}}};
}

std::string SummaryText(const Lifetimes::Summary& summary, std::string_view separator) {
    const auto figure = [separator](double cents) { return Fixed(cents / 100, 2, separator); };
    std::ostringstream out;
    out << "lifetimes: " << summary.lifetimes << ", "
        << WithSeparator(Printf("%.2f", summary.ahead * 100), separator) << " % ended ahead\n";
    out << "  net: median " << AmountText(summary.median, separator) << ", 1st percentile "
        << AmountText(summary.p01, separator) << ", 99th percentile "
        << AmountText(summary.p99, separator) << '\n';
    out << "  net: mean " << figure(summary.mean) << " (exact " << figure(summary.expectedNet)
        << "), standard deviation " << figure(summary.sd) << " (exact "
        << figure(summary.expectedSd) << ")\n";
    return out.str();
}

}  // namespace loto
