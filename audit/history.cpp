#include "audit/history.h"

#include <algorithm>
#include <numeric>
#include <type_traits>

namespace loto {
namespace {

// Draw t's numbers of a pool, in increasing order.
std::vector<std::uint8_t> Sorted(const PoolHistory& pool, std::size_t t) {
    const auto draw = pool.Draw(t);
    std::vector<std::uint8_t> numbers(draw.begin(), draw.end());
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// The draws in `order`, each draw t of the history at its place.
void Permute(History& history, const std::vector<std::size_t>& order) {
    const auto permute = [&](auto& values, std::size_t width) {
        std::remove_reference_t<decltype(values)> ordered;
        ordered.reserve(order.size() * width);
        for (const std::size_t t : order) {
            const auto from = values.begin() + static_cast<std::ptrdiff_t>(t * width);
            ordered.insert(ordered.end(), from, from + static_cast<std::ptrdiff_t>(width));
        }
        values.swap(ordered);
    };
    permute(history.main.numbers, static_cast<std::size_t>(history.main.drawn));
    permute(history.second.numbers, static_cast<std::size_t>(history.second.drawn));
    permute(history.bonus, history.bonus.empty() ? 0 : 1);
    permute(history.days, history.days.empty() ? 0 : 1);
    permute(history.levels.of, history.levels.of.empty() ? 0 : 1);
}

bool SameDraw(const History& history, std::size_t a, std::size_t b) {
    return history.days[a] == history.days[b] &&
           Sorted(history.main, a) == Sorted(history.main, b) &&
           Sorted(history.second, a) == Sorted(history.second, b) &&
           (history.bonus.empty() || history.bonus[a] == history.bonus[b]);
}

}  // namespace

void SortByDate(History& history) {
    std::vector<std::size_t> order(history.days.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return history.days[a] < history.days[b];
    });
    Permute(history, order);
}

MergedHistory MergeHistories(std::vector<History> parts, const std::vector<std::string>& names) {
    History merged = std::move(parts.front());
    for (std::size_t f = 1; f < parts.size(); ++f) {
        History& part = parts[f];
        if (part.main.drawn != merged.main.drawn || part.second.drawn != merged.second.drawn ||
            part.bonus.empty() != merged.bonus.empty()) {
            return {.history = std::nullopt,
                    .fault = names[f] + " draws " + std::to_string(part.main.drawn) +
                             " main numbers where " + names.front() + " draws " +
                             std::to_string(merged.main.drawn) +
                             ": files of one game are audited together"};
        }
        const auto append = [](auto& into, const auto& from) {
            into.insert(into.end(), from.begin(), from.end());
        };
        append(merged.main.numbers, part.main.numbers);
        append(merged.second.numbers, part.second.numbers);
        append(merged.bonus, part.bonus);
        append(merged.days, part.days);
        append(merged.setAside, part.setAside);
        // A level's number in the merged history, its name kept.
        for (const std::uint16_t level : part.levels.of) {
            const std::string& name = part.levels.names[level];
            auto& levels = merged.levels.names;
            const auto found = std::find(levels.begin(), levels.end(), name);
            merged.levels.of.push_back(static_cast<std::uint16_t>(found - levels.begin()));
            if (found == levels.end()) {
                levels.push_back(name);
            }
        }
        merged.main.top = std::max(merged.main.top, part.main.top);
        merged.second.top = std::max(merged.second.top, part.second.top);
    }
    if (merged.days.empty()) {
        return {.history = std::move(merged)};
    }
    SortByDate(merged);
    // Among the draws of one date, each kept unless an earlier one is the same draw.
    std::vector<std::size_t> kept;
    for (std::size_t t = 0, first = 0; t < merged.days.size(); ++t) {
        first = t > 0 && merged.days[t] == merged.days[t - 1] ? first : t;
        bool repeated = false;
        for (std::size_t u = first; u < t && !repeated; ++u) {
            repeated = SameDraw(merged, u, t);
        }
        if (!repeated) {
            kept.push_back(t);
        }
    }
    const std::uint64_t repeated = merged.days.size() - kept.size();
    Permute(merged, kept);
    return {.history = std::move(merged), .repeated = repeated};
}

}  // namespace loto
