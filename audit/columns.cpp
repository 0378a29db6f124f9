#include "audit/columns.h"

#include <cstdint>

#include "platform/whole_number.h"

namespace loto {
namespace {

std::string_view Trimmed(std::string_view text) noexcept {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<ColumnRef> ParseColumn(std::string_view text) {
    const std::string_view name = Trimmed(text);
    if (name.empty()) {
        return std::nullopt;
    }
    // Built in place: GCC 12 under the sanitizers takes a moved variant's string for unset.
    std::optional<ColumnRef> column;
    if (!AllDigits(name)) {
        column.emplace(std::in_place_type<std::string>, name);
        return column;
    }
    const std::optional<std::uint64_t> position = ReadWholeNumber<std::uint64_t>(name);
    if (position && *position >= 1 && *position <= 1'000'000) {
        column.emplace(std::in_place_type<int>, static_cast<int>(*position));
    }
    return column;
}

std::optional<std::vector<ColumnRef>> ParseColumns(std::string_view text) {
    std::vector<ColumnRef> columns;
    for (std::size_t from = 0;;) {
        const std::size_t comma = text.find(',', from);
        const std::optional<ColumnRef> column = ParseColumn(text.substr(from, comma - from));
        if (!column) {
            return std::nullopt;
        }
        columns.push_back(*column);
        if (comma == std::string_view::npos) {
            return columns;
        }
        from = comma + 1;
    }
}

}  // namespace loto
