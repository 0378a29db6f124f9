#pragma once

#include <string>
#include <string_view>

namespace loto {

// Text as UTF-8: as it stands where it is UTF-8, else read as Latin-1, a byte a character, as
// the spreadsheets of many countries write their files.
[[nodiscard]] std::string AsUtf8(std::string_view text);

}  // namespace loto
