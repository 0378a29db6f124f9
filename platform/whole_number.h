#pragma once

#include <algorithm>
#include <charconv>
#include <concepts>
#include <optional>
#include <string_view>

namespace loto {

// Whether `text` is decimal digits alone, at least one.
[[nodiscard]] constexpr bool AllDigits(std::string_view text) noexcept {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A whole number written as decimal digits alone ("010" is ten: no sign, blank, point or radix
// prefix), as `Number`; none for any other text, or beyond what `Number` holds.
template <std::integral Number>
[[nodiscard]] std::optional<Number> ReadWholeNumber(std::string_view text) noexcept {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (!AllDigits(text) || stop != end || error != std::errc{}) {
        return std::nullopt;
    }
    return value;
}

}  // namespace loto
