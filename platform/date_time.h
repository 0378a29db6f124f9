#pragma once

#include <chrono>
#include <optional>

namespace loto {

// A moment to the second, whatever the time zone: what the clock reads and durations move. A
// duration added to a local time would step over a change to or from daylight saving time.
using SystemTime = std::chrono::sys_seconds;
// A local date and time to the second, as the run time's date values show it.
using LocalDateTime = std::chrono::local_seconds;

// The range of the run time's date values, which are local dates and times: 1 January 100 to
// 31 December 9999, 23:59:59.
inline constexpr LocalDateTime kFirstDate = std::chrono::local_days{std::chrono::year{100} / 1 / 1};
inline constexpr LocalDateTime kLastDate =
    std::chrono::local_days{std::chrono::year{9999} / 12 / 31} + std::chrono::seconds{86399};

[[nodiscard]] constexpr bool InDateRange(LocalDateTime date) noexcept {
    return date >= kFirstDate && date <= kLastDate;
}

// The moment moved by a number of seconds (back when negative); nothing when the amount is not a
// number or the moment lands more than a day outside the range of date values, where no time
// zone's local time could be in it.
[[nodiscard]] std::optional<SystemTime> AddSeconds(SystemTime moment, double seconds);

}  // namespace loto
