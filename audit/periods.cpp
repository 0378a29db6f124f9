#include "audit/periods.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <type_traits>

#include "platform/printf.h"

namespace loto {
namespace {

constexpr double kUnseen = 1e-6;  // what a period's draws must be that unlikely to have missed

double LogChoose(int n, int k) {
    return std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0);
}

int Greatest(const PoolHistory& pool, std::size_t t) {
    const auto draw = pool.Draw(t);
    return draw.empty() ? 0 : *std::max_element(draw.begin(), draw.end());
}

// A pool's greatest number so far in the period, and whether draw t's shows that the rules
// changed: the period's `draws` draws before it all below what it holds.
struct Watch {
    int greatest = 0;

    bool Changed(const PoolHistory& pool, std::size_t t, std::size_t draws) {
        const int top = Greatest(pool, t);
        if (top <= greatest) {
            return false;
        }
        const bool changed = greatest >= pool.drawn && draws > 0 &&
                             static_cast<double>(draws) * (LogChoose(greatest, pool.drawn) -
                                                           LogChoose(top, pool.drawn)) <
                                 std::log(kUnseen);
        greatest = top;
        return changed;
    }
};

}  // namespace

std::vector<std::size_t> RuleChanges(const History& history) {
    std::vector<std::size_t> changes;
    Watch main, second;
    std::size_t start = 0;
    for (std::size_t t = 0; t < history.main.draws(); ++t) {
        const bool mainChanged = main.Changed(history.main, t, t - start);
        const bool secondChanged =
            history.second.drawn > 0 && second.Changed(history.second, t, t - start);
        if (mainChanged || secondChanged) {
            changes.push_back(t);
            start = t;
            main.greatest = Greatest(history.main, t);
            second.greatest = history.second.drawn > 0 ? Greatest(history.second, t) : 0;
        }
    }
    return changes;
}

History Slice(const History& history, std::size_t from, std::size_t to, bool guessed) {
    History part;
    const auto pool = [&](const PoolHistory& whole, PoolHistory& into) {
        into.drawn = whole.drawn;
        const auto k = static_cast<std::ptrdiff_t>(whole.drawn);
        into.numbers.assign(whole.numbers.begin() + static_cast<std::ptrdiff_t>(from) * k,
                            whole.numbers.begin() + static_cast<std::ptrdiff_t>(to) * k);
        into.top = guessed ? 0 : whole.top;
        for (const std::uint8_t x : guessed ? into.numbers : std::vector<std::uint8_t>()) {
            into.top = std::max<int>(into.top, x);
        }
    };
    pool(history.main, part.main);
    pool(history.second, part.second);
    const auto range = [&](const auto& values) {
        return values.empty() ? std::remove_cvref_t<decltype(values)>()
                              : std::remove_cvref_t<decltype(values)>(
                                    values.begin() + static_cast<std::ptrdiff_t>(from),
                                    values.begin() + static_cast<std::ptrdiff_t>(to));
    };
    part.bonus = range(history.bonus);
    for (const std::uint8_t b : guessed ? part.bonus : std::vector<std::uint8_t>()) {
        part.main.top = std::max<int>(part.main.top, b);
    }
    part.days = range(history.days);
    part.levels.column = history.levels.column;
    part.levels.names = history.levels.names;
    part.levels.of = range(history.levels.of);
    part.delimiter = history.delimiter;
    return part;
}

History Between(const History& history, std::optional<std::int32_t> from,
                std::optional<std::int32_t> to, bool guessed) {
    const auto first =
        std::lower_bound(history.days.begin(), history.days.end(), from.value_or(INT32_MIN));
    const auto last =
        std::upper_bound(history.days.begin(), history.days.end(), to.value_or(INT32_MAX));
    History kept =
        Slice(history, static_cast<std::size_t>(first - history.days.begin()),
              static_cast<std::size_t>(std::max(first, last) - history.days.begin()), guessed);
    kept.setAside = history.setAside;
    return kept;
}

namespace {

// A draw's date as the periods say it, or its number where the history has no dates.
std::string DrawWhen(const History& history, std::size_t t) {
    if (history.days.empty()) {
        return "draw " + std::to_string(t + 1);
    }
    const std::chrono::year_month_day date{
        std::chrono::sys_days(std::chrono::days(history.days[t]))};
    return Printf("%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
}

}  // namespace

std::vector<HistoryPart> SplitAtRuleChanges(const History& history, bool bonus) {
    const std::vector<std::size_t> changes = RuleChanges(history);
    if (changes.empty()) {
        return {{history, GuessedGame(history, bonus)}};
    }
    std::vector<std::size_t> starts = {0};
    starts.insert(starts.end(), changes.begin(), changes.end());
    starts.push_back(history.main.draws());
    std::vector<HistoryPart> parts;
    for (std::size_t p = 0; p + 1 < starts.size(); ++p) {
        History part = Slice(history, starts[p], starts[p + 1], true);
        const Game game = GuessedGame(part, bonus);
        parts.push_back(
            {std::move(part), game,
             AuditPeriod{DrawWhen(history, starts[p]), DrawWhen(history, starts[p + 1] - 1)}});
    }
    return parts;
}

std::vector<HistoryPart> AuditedParts(const History& history, const std::optional<Game>& given,
                                      bool bonus) {
    return given ? std::vector<HistoryPart>{{history, *given}} : SplitAtRuleChanges(history, bonus);
}

}  // namespace loto
