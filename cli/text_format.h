#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "cli/significance.h"

namespace loto {

// printf into a string, for figures of a fixed form ("%.4f") and the charts' markup.
template <typename... Values>
[[nodiscard]] std::string Printf(const char* format, Values... values) {
    const int length = std::snprintf(nullptr, 0, format, values...);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, values...);
    return text;
}

// A figure written with a period, with the decimal separator of the user's locale instead.
[[nodiscard]] std::string WithSeparator(std::string figure, std::string_view separator);

// Pearson's chi-square of a tally in one line, or why there is none.
[[nodiscard]] std::string ChiSquareSummary(const std::optional<ChiSquareTest>& test,
                                           std::string_view separator = ".");

}  // namespace loto
