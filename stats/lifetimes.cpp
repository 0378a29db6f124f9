#include "stats/lifetimes.h"

#include <algorithm>
#include <cmath>

namespace loto {

Cents NearestRank(const std::vector<Cents>& sorted, double q) {
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

std::optional<Lifetimes::Summary> Lifetimes::Summarise() const {
    if (nets_.empty()) {
        return std::nullopt;
    }
    std::vector<Cents> sorted = nets_;
    std::sort(sorted.begin(), sorted.end());  // the page's library has no ranges
    const auto n = static_cast<double>(sorted.size());
    long double sum = 0;
    for (const Cents net : sorted) {
        sum += static_cast<long double>(net);
    }
    const long double mean = sum / n;
    long double squares = 0;
    for (const Cents net : sorted) {
        const long double d = static_cast<long double>(net) - mean;
        squares += d * d;
    }
    const auto ahead =
        std::count_if(sorted.begin(), sorted.end(), [](Cents net) { return net > 0; });
    const auto draws = static_cast<double>(draws_);
    return Summary{.lifetimes = sorted.size(),
                   .ahead = static_cast<double>(ahead) / n,
                   .median = NearestRank(sorted, 0.5),
                   .p01 = NearestRank(sorted, 0.01),
                   .p99 = NearestRank(sorted, 0.99),
                   .mean = static_cast<double>(mean),
                   .sd = sorted.size() > 1 ? static_cast<double>(std::sqrt(squares / (n - 1))) : 0,
                   .expectedNet = static_cast<double>(draws * law_.expectedNet()),
                   .expectedSd = std::sqrt(draws * law_.variance)};
}

}  // namespace loto
