#include "platform/date_time.h"

#include <cmath>

namespace loto {

std::optional<SystemTime> AddSeconds(SystemTime date, double seconds) {
    // Compare in Double first: the amount may be far beyond what an integer holds.
    constexpr std::chrono::seconds kDay{86400};
    const SystemTime first{kFirstDate.time_since_epoch() - kDay};
    const SystemTime last{kLastDate.time_since_epoch() + kDay};
    const double whole = std::trunc(seconds);
    const double room = static_cast<double>((last - date).count());
    const double roomBack = static_cast<double>((first - date).count());
    if (!(whole >= roomBack && whole <= room)) {
        return std::nullopt;
    }
    return date + std::chrono::seconds{static_cast<std::int64_t>(whole)};
}

}  // namespace loto
