#include "audit/draw_dates.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <numeric>

#include "platform/quoted_text.h"

namespace loto {
namespace {

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// Whole digits of a length in [fewest, most].
std::optional<int> Digits(std::string_view text, std::size_t fewest, std::size_t most) {
    if (text.size() < fewest || text.size() > most ||
        !std::all_of(text.begin(), text.end(), IsDigit)) {
        return std::nullopt;
    }
    return std::accumulate(text.begin(), text.end(), 0,
                           [](int n, char c) { return n * 10 + (c - '0'); });
}

std::optional<std::int32_t> DayCount(std::optional<int> year, std::optional<int> month,
                                     std::optional<int> day) {
    if (!year || !month || !day) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year{*year},
                                           std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) {
        return std::nullopt;
    }
    return std::chrono::sys_days(date).time_since_epoch().count();
}

// "Jan" to "Dec", any case: 1 to 12.
std::optional<int> MonthNamed(std::string_view name) {
    static constexpr std::array<std::string_view, 12> kMonths = {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (name.size() != 3) {
        return std::nullopt;
    }
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    const auto found = std::find(kMonths.begin(), kMonths.end(), lower);
    if (found == kMonths.end()) {
        return std::nullopt;
    }
    return static_cast<int>(found - kMonths.begin()) + 1;
}

std::vector<std::string_view> Parts(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0, to = 0; from <= text.size(); from = to + 1) {
        to = std::min(text.find(separator, from), text.size());
        parts.push_back(text.substr(from, to - from));
    }
    return parts;
}

}  // namespace

std::optional<SlashOrder> ParseDateFormat(std::string_view text) {
    if (text == "DD/MM/YYYY") {
        return SlashOrder::DayFirst;
    }
    if (text == "MM/DD/YYYY") {
        return SlashOrder::MonthFirst;
    }
    return std::nullopt;
}

std::optional<std::int32_t> DateReader::Read(std::string_view text, std::size_t draw) {
    if (text.size() == 8 && std::all_of(text.begin(), text.end(), IsDigit)) {
        return DayCount(Digits(text.substr(0, 4), 4, 4), Digits(text.substr(4, 2), 2, 2),
                        Digits(text.substr(6, 2), 2, 2));
    }
    if (const auto dashed = Parts(text, '-'); dashed.size() == 3) {
        if (const auto month = MonthNamed(dashed[1])) {
            return DayCount(Digits(dashed[2], 4, 4), month, Digits(dashed[0], 1, 2));
        }
        return DayCount(Digits(dashed[0], 4, 4), Digits(dashed[1], 1, 2), Digits(dashed[2], 1, 2));
    }
    const auto slashed = Parts(text, '/');
    if (slashed.size() != 3) {
        return std::nullopt;
    }
    const auto first = Digits(slashed[0], 1, 2);
    const auto second = Digits(slashed[1], 1, 2);
    const auto year = Digits(slashed[2], 4, 4);
    if (!first || !second || !year) {
        return std::nullopt;
    }
    if (order_ == SlashOrder::Unknown) {
        if (*first > 12 || *second > 12) {
            // The day shows the order from here on.
            order_ = *first > 12 ? SlashOrder::DayFirst : SlashOrder::MonthFirst;
        } else if (*first != *second) {
            pending_.push_back({draw, *first, *second, *year, std::string(text)});
        }
    }
    return order_ == SlashOrder::MonthFirst ? DayCount(year, first, second)
                                            : DayCount(year, second, first);
}

std::optional<std::string> DateReader::Settle(std::vector<std::int32_t>& days) const {
    if (pending_.empty() || order_ == SlashOrder::DayFirst) {
        return std::nullopt;
    }
    if (order_ == SlashOrder::Unknown) {
        return "the dates such as " + Quoted(pending_.front().text) +
               " may be read day first or month first, and no date shows which: "
               "--date-format DD/MM/YYYY or MM/DD/YYYY says it";
    }
    for (const Pending& date : pending_) {
        days[date.draw] = *DayCount(date.year, date.first, date.second);
    }
    return std::nullopt;
}

}  // namespace loto
