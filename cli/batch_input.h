#pragma once

#include <string_view>
#include <vector>

namespace loto {

// The fields of a batch line, separated by ';', as parts of the line: without a game the seven
// boxes, draws first; with one, the number of draws and the ticket. Nothing is copied.
[[nodiscard]] std::vector<std::string_view> SplitFields(std::string_view line);

// A line of blanks only, skipped.
[[nodiscard]] bool IsBlankLine(std::string_view line) noexcept;

}  // namespace loto
