#include "cli/lifetimes.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "cli/json_numbers.h"
#include "cli/text_format.h"

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
    std::ranges::sort(sorted);
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
    const auto ahead = std::ranges::count_if(sorted, [](Cents net) { return net > 0; });
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

nlohmann::json SummaryJson(const Lifetimes::Summary& summary) {
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
