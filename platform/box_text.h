#pragma once

#include <string_view>

namespace loto {

// The most characters that a text box holds: more than any number that the commands read needs,
// few enough that a huge paste leaves the window responsive (editing and drawing a box take
// time in proportion to its text). Counted as the boxes count them, in UTF-16 units.
inline constexpr int kBoxCharacterLimit = 1000;

// What a box keeps of a UTF-8 text typed or pasted into it: its first kBoxCharacterLimit UTF-16
// units, a character that would not fit whole left out.
[[nodiscard]] std::string_view BoxText(std::string_view text) noexcept;

}  // namespace loto
