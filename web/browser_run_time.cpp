#include "web/browser_run_time.h"

#include <emscripten.h>

#include <cmath>

#include "platform/french_dates.h"

namespace loto {
namespace {

// Minutes east of universal time at a moment, as the browser's Date sees its zone then.
EM_JS(double, LocalOffsetMinutes, (double epochSeconds),
      { return -new Date(epochSeconds * 1000).getTimezoneOffset(); });

EM_JS(double, EpochMilliseconds, (), { return Date.now(); });

}  // namespace

double BrowserRunTime::MonotonicSeconds() {
    return emscripten_get_now() / 1000;
}

SystemTime BrowserRunTime::Now() {
    return SystemTime{
        std::chrono::seconds{static_cast<long long>(std::floor(EpochMilliseconds() / 1000))}};
}

LocalDateTime BrowserRunTime::LocalTime(SystemTime moment) const {
    const auto since = moment.time_since_epoch();
    const auto offset = std::chrono::minutes{
        static_cast<long long>(LocalOffsetMinutes(static_cast<double>(since.count())))};
    return LocalDateTime{since + offset};
}

std::string BrowserRunTime::DateText(LocalDateTime date) const {
    return FrenchDateText(date);
}

std::string_view BrowserRunTime::DecimalSeparator() const {
    return kFrenchDecimalSeparator;
}

}  // namespace loto
