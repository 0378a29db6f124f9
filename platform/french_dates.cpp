#include "platform/french_dates.h"

#include <cstdio>

namespace loto {

std::string FrenchDateText(LocalDateTime date) {
    const auto day = std::chrono::floor<std::chrono::days>(date);
    const std::chrono::year_month_day ymd{day};
    const long long seconds = (date - day).count();
    char text[32];
    int length =
        std::snprintf(text, sizeof text, "%02u/%02u/%04d", static_cast<unsigned>(ymd.day()),
                      static_cast<unsigned>(ymd.month()), static_cast<int>(ymd.year()));
    if (seconds != 0) {
        length +=
            std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length),
                          " %02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    }
    return {text, static_cast<std::size_t>(length)};
}

}  // namespace loto
