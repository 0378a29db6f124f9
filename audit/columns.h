#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace loto {

// A column of a history by its header's name (compared exactly, blanks around it aside) or its
// position from 1.
using ColumnRef = std::variant<std::string, int>;

// "a, b ,3": names, blanks around them aside, or positions from 1 (digits alone, up to a
// million); none for an empty name or position 0.
[[nodiscard]] std::optional<std::vector<ColumnRef>> ParseColumns(std::string_view text);
[[nodiscard]] std::optional<ColumnRef> ParseColumn(std::string_view text);

}  // namespace loto
