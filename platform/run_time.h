#pragma once

#include <string>
#include <string_view>

#include "platform/date_time.h"

namespace loto {

// What a command needs from the system it runs on: a clock, the time of day and its local form in
// the user's time zone, and the user's forms for dates and decimals. The system provides one;
// tests provide their own.
class RunTime {
public:
    virtual ~RunTime() = default;

    // Seconds from an arbitrary origin, never going back: for timing the speed test.
    [[nodiscard]] virtual double MonotonicSeconds() = 0;
    [[nodiscard]] virtual SystemTime Now() = 0;
    // The local date and time of a moment, daylight saving time included.
    [[nodiscard]] virtual LocalDateTime LocalTime(SystemTime moment) const = 0;
    // The short date, a blank and the time with seconds; the date alone at midnight.
    [[nodiscard]] virtual std::string DateText(LocalDateTime date) const = 0;
    [[nodiscard]] virtual std::string_view DecimalSeparator() const = 0;
};

}  // namespace loto
