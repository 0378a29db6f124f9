#pragma once

#include "platform/run_time.h"

namespace loto {

// The browser's clocks and the French forms: the page's interface is French whatever the
// browser's language, as the desktop's French forms are its fallback.
class BrowserRunTime final : public RunTime {
public:
    [[nodiscard]] double MonotonicSeconds() override;
    [[nodiscard]] SystemTime Now() override;
    // The browser's own time zone, daylight saving time included, over the whole range of dates
    // (the C library's 32-bit clock of the web build ends in 2038).
    [[nodiscard]] LocalDateTime LocalTime(SystemTime moment) const override;
    [[nodiscard]] std::string DateText(LocalDateTime date) const override;
    [[nodiscard]] std::string_view DecimalSeparator() const override;
};

}  // namespace loto
