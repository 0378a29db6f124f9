#pragma once

#include <chrono>
#include <optional>

namespace loto {

// A local date and time to the second, as the run time's date values hold it.
using LocalDateTime = std::chrono::local_seconds;

// The range of the run time's date values: 1 January 100 to 31 December 9999, 23:59:59.
inline constexpr LocalDateTime kFirstDate = std::chrono::local_days{std::chrono::year{100} / 1 / 1};
inline constexpr LocalDateTime kLastDate =
    std::chrono::local_days{std::chrono::year{9999} / 12 / 31} + std::chrono::seconds{86399};

// The date moved by a number of seconds (back when negative); nothing when the amount is not a
// number or the result falls outside the range of date values.
[[nodiscard]] std::optional<LocalDateTime> AddSeconds(LocalDateTime date, double seconds);

}  // namespace loto
