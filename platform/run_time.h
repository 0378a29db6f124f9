#pragma once

#include <string>
#include <string_view>

#include "platform/date_time.h"

namespace loto {

// What a command needs from the system it runs on: a clock, the local date and the user's forms
// for dates and decimals. The system provides one; tests provide their own.
class RunTime {
public:
    virtual ~RunTime() = default;

    // Seconds from an arbitrary origin, never going back: for timing the speed test.
    [[nodiscard]] virtual double MonotonicSeconds() = 0;
    [[nodiscard]] virtual LocalDateTime Now() = 0;
    // The short date, a blank and the time with seconds; the date alone at midnight.
    [[nodiscard]] virtual std::string DateText(LocalDateTime date) const = 0;
    [[nodiscard]] virtual std::string_view DecimalSeparator() const = 0;
};

}  // namespace loto
