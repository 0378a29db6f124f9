#pragma once

#include <string>
#include <string_view>

#include "platform/date_time.h"

namespace loto {

// The French forms without a locale library, as Qt writes them for fr_FR: the short date with its
// four-digit year, a blank and the time with seconds ("07/12/2026 19:00:04"), the date alone at
// midnight. The web page, whose interface is French, writes its dates so.
[[nodiscard]] std::string FrenchDateText(LocalDateTime date);

inline constexpr std::string_view kFrenchDecimalSeparator = ",";

}  // namespace loto
