#include "cli/waits_law.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "cli/json_numbers.h"
#include "cli/text_format.h"

namespace loto {
namespace {

using nlohmann::json;

// P(W > w) = (1 - p)^w.
double Survival(double p, std::uint64_t w) {
    return std::exp(static_cast<double>(w) * std::log1p(-p));
}

}  // namespace

std::uint64_t GeometricQuantile(double p, double level) {
    if (level <= 0) {
        return 1;
    }
    // F(w) >= level where (1 - p)^w <= 1 - level; rounding may leave w one short or long.
    const double w = std::ceil(std::log1p(-level) / std::log1p(-p));
    auto wait = static_cast<std::uint64_t>(std::max(w, 1.0));
    while (wait > 1 && 1 - Survival(p, wait - 1) >= level) {
        --wait;
    }
    while (1 - Survival(p, wait) < level) {
        ++wait;
    }
    return wait;
}

WaitsTest TestWaits(const WaitsSample& sample) {
    const double p = sample.probability;
    WaitsTest test;
    test.lawMean = 1 / p;
    test.lawMedian = static_cast<double>(GeometricQuantile(p, 0.5));
    std::vector<std::uint64_t> waits = sample.waits;
    std::ranges::sort(waits);
    if (!waits.empty()) {
        double sum = 0;
        for (const std::uint64_t w : waits) {
            sum += static_cast<double>(w);
        }
        test.mean = sum / static_cast<double>(waits.size());
    }
    const std::uint64_t all = sample.count();
    const std::uint64_t rank = (all + 1) / 2;  // nearest rank, from 1
    if (all > 0 && rank <= waits.size()) {
        test.median = static_cast<double>(waits[rank - 1]);
    }
    // Cut points at quantiles of equal steps, merged where the law is too coarse to part them,
    // and the last class ending at the bound; the censored beyond it.
    const auto wanted = static_cast<int>(std::clamp<std::uint64_t>(all / 5, 2, 20));
    std::uint64_t first = 1;
    for (int i = 1; i <= wanted && first <= sample.bound; ++i) {
        const std::uint64_t last =
            i == wanted
                ? sample.bound
                : std::min(GeometricQuantile(p, static_cast<double>(i) / wanted), sample.bound);
        if (last < first) {
            continue;
        }
        test.classes.push_back({first, last, 0, Survival(p, first - 1) - Survival(p, last)});
        first = last + 1;
    }
    test.classes.push_back({sample.bound + 1, 0, sample.censored, Survival(p, sample.bound)});
    for (const std::uint64_t w : waits) {
        const auto found = std::ranges::find_if(
            test.classes, [w](const WaitClass& c) { return c.last != 0 && w <= c.last; });
        if (found != test.classes.end()) {
            ++found->observed;
        }
    }
    std::vector<std::uint64_t> counts;
    std::vector<double> probabilities;
    for (const WaitClass& c : test.classes) {
        counts.push_back(c.observed);
        probabilities.push_back(c.probability);
    }
    test.chiSquare = TestSignificance(counts, probabilities, all);
    return test;
}

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
        return value ? WithSeparator(Printf("%.2f", *value), separator) : std::string("-");
    };
    std::ostringstream out;
    out << "waits for " << tier << ": " << sample.count() << " commands, " << sample.censored
        << " reached the bound of " << sample.bound << " draws\n";
    out << "  mean " << figure(test.mean) << " (law " << figure(test.lawMean) << "), median "
        << figure(test.median) << " (law " << figure(test.lawMedian) << ")\n";
    out << "  against the geometric law: "
        << ChiSquareSummary(test.chiSquare ? test.chiSquare->chiSquare : std::nullopt, separator)
        << '\n';
    return out.str();
}

}  // namespace loto
