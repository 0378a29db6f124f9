#include "stats/waits_law.h"

#include <algorithm>
#include <boost/math/distributions/geometric.hpp>
#include <cmath>
#include <sstream>

namespace loto {
namespace {

// P(W > w) = (1 - p)^w, 1 for w = 0 whatever p.
double Survival(double p, double w) {
    return w == 0 ? 1 : std::exp(w * std::log1p(-p));
}

// P(first <= W <= last) = P(W > first - 1) (1 - (1 - p)^(last - first + 1)), which keeps its
// digits where the two survivals differ by less than an ulp (a tier of 1 in 10^20).
double ClassProbability(double p, std::uint64_t first, std::uint64_t last) {
    const auto width = static_cast<double>(last - first + 1);
    return Survival(p, static_cast<double>(first - 1)) * -std::expm1(width * std::log1p(-p));
}

// (-ln(1 - p) - p) / p, as its series p/2 + p^2/3 + ... where the difference would cancel.
double LogExcessOverP(double p) {
    if (p >= 0.5) {
        return (-std::log1p(-p) - p) / p;
    }
    double sum = 0;
    double power = 1;
    for (int k = 2;; ++k) {  // the terms at least halve: some 60 of them at most
        power *= p;
        const double term = power / k;
        sum += term;
        if (term <= 1e-17 * sum) {
            return sum;
        }
    }
}

// 1 - x / (e^x - 1), as its series x/2 - x^2/12 + x^4/720 - ... for small x.
double FromBernoulli(double x) {
    if (x >= 0.1) {
        return 1 - x / std::expm1(x);
    }
    const double x2 = x * x;
    return x / 2 - x2 * (1.0 / 12 - x2 * (1.0 / 720 - x2 * (1.0 / 30240 -
                                                            x2 * (1.0 / 1209600 - x2 / 47900160))));
}

}  // namespace

double GeometricQuantile(double p, double level) {
    if (p >= 1 || level <= 0) {
        return 1;
    }
    // Boost's law counts the draws before the hit, and gives its quantile as a real number,
    // whatever its policy of discrete quantiles says: the least count is the next whole one.
    const boost::math::geometric_distribution<double> law(p);
    return std::ceil(quantile(law, level)) + 1;
}

double GeometricMeanBelow(double p, std::uint64_t bound) {
    if (p >= 1) {
        return 1;
    }
    // With L = -ln(1 - p) and x = bound L, E = 1/p - bound / (e^x - 1), which is
    // (L - p)/(p L) + (1 - x/(e^x - 1))/L: two parts that keep their digits however small p or x.
    const double logLaw = -std::log1p(-p);
    const double x = static_cast<double>(bound) * logLaw;
    return (LogExcessOverP(p) + FromBernoulli(x)) / logLaw;
}

WaitsTest TestWaits(const WaitsSample& sample) {
    const double p = std::min(sample.probability, 1.0);
    WaitsTest test;
    test.lawMean = 1 / p;
    test.lawMedian = GeometricQuantile(p, 0.5);
    std::vector<std::uint64_t> waits = sample.waits;
    std::sort(waits.begin(), waits.end());  // the page's library has no ranges
    if (!waits.empty()) {
        double sum = 0;
        for (const std::uint64_t w : waits) {
            sum += static_cast<double>(w);
        }
        test.mean = sum / static_cast<double>(waits.size());
    }
    if (sample.censored > 0 && sample.bound > 0) {
        test.lawMeanBelowBound = GeometricMeanBelow(p, sample.bound);
    }
    const std::uint64_t all = sample.count();
    const std::uint64_t rank = (all + 1) / 2;  // nearest rank, from 1
    if (all > 0 && rank <= waits.size()) {
        test.median = static_cast<double>(waits[rank - 1]);
    }
    // Cut points at quantiles of equal steps, merged where the law is too coarse to part them,
    // and the last class ending at the bound; the censored beyond it. A quantile past the bound
    // is the bound: it may pass what 64 bits hold.
    const auto bound = static_cast<double>(sample.bound);
    const auto wanted = static_cast<int>(std::clamp<std::uint64_t>(all / 5, 2, 20));
    std::vector<WaitClass> classes;
    std::uint64_t first = 1;
    for (int i = 1; i <= wanted && first <= sample.bound; ++i) {
        const double cut =
            i == wanted ? bound
                        : std::min(GeometricQuantile(p, static_cast<double>(i) / wanted), bound);
        const std::uint64_t last = cut >= bound ? sample.bound : static_cast<std::uint64_t>(cut);
        if (last < first) {
            continue;
        }
        classes.push_back({first, last, 0, ClassProbability(p, first, last)});
        first = last + 1;
    }
    const std::uint64_t beyond = sample.bound + (sample.bound < UINT64_MAX ? 1 : 0);
    classes.push_back({beyond, 0, sample.censored, Survival(p, bound)});
    for (const std::uint64_t w : waits) {
        const auto found = std::find_if(classes.begin(), classes.end(), [w](const WaitClass& c) {
            return c.last != 0 && w <= c.last;
        });
        if (found != classes.end()) {
            ++found->observed;
        }
    }
    // A class that no wait can fall into (a certain tier: every wait is 1) is none to test.
    std::erase_if(classes, [](const WaitClass& c) { return !(c.probability > 0); });
    std::vector<std::uint64_t> counts;
    std::vector<double> probabilities;
    for (const WaitClass& c : classes) {
        counts.push_back(c.observed);
        probabilities.push_back(c.probability);
    }
    test.chiSquare = TestSignificance(counts, probabilities, all);
    // The classes as the chi-square took them, pooled.
    for (const ClassGroup& group :
         test.chiSquare ? test.chiSquare->groups : std::vector<ClassGroup>{}) {
        WaitClass pooled{classes[static_cast<std::size_t>(group.first)].first,
                         classes[static_cast<std::size_t>(group.last)].last, 0, 0};
        for (int i = group.first; i <= group.last; ++i) {
            pooled.observed += classes[static_cast<std::size_t>(i)].observed;
            pooled.probability += classes[static_cast<std::size_t>(i)].probability;
        }
        test.classes.push_back(pooled);
    }
    test.bars = std::move(classes);
    return test;
}

}  // namespace loto
