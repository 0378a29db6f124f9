#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace loto {

// The order of a slashed date's day and month: settled by --date-format, or by the first date
// whose day shows it (above 12).
enum class SlashOrder { Unknown, DayFirst, MonthFirst };

// --date-format's values: "DD/MM/YYYY" or "MM/DD/YYYY"; none for any other text.
[[nodiscard]] std::optional<SlashOrder> ParseDateFormat(std::string_view text);

// The dates of a history's draws as operators publish them: 2019-01-31, 20190131, 31/01/2019 or
// 01/31/2019 (one or two digits for the day and month), 31-Jan-2019 (English months, any case).
// A slashed date read before its order is known and that either order could read (both leading
// parts 12 or less, and different) is read day first and kept, to be read again once the order
// is known.
class DateReader {
public:
    explicit DateReader(SlashOrder order = SlashOrder::Unknown) noexcept : order_(order) {}

    // The day count from 1970-01-01 of draw `draw`'s date, or none where the text is no date
    // ("31/02/2020", "2020-13-01", "12-Jux-2024"), or a slashed date the settled order cannot
    // read.
    [[nodiscard]] std::optional<std::int32_t> Read(std::string_view text, std::size_t draw);

    // Once every date is read: the day counts of the dates read before their order was known,
    // read again, or why they cannot be (no date showed the order).
    [[nodiscard]] std::optional<std::string> Settle(std::vector<std::int32_t>& days) const;

    [[nodiscard]] SlashOrder order() const noexcept { return order_; }

private:
    struct Pending {
        std::size_t draw;
        int first;
        int second;
        int year;
        std::string text;
    };
    SlashOrder order_;
    std::vector<Pending> pending_;
};

}  // namespace loto
