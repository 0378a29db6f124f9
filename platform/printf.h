#pragma once

#include <cstdio>
#include <string>
#include <string_view>

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
[[nodiscard]] inline std::string WithSeparator(std::string figure, std::string_view separator) {
    const std::size_t period = figure.find('.');
    return period == std::string::npos ? figure : figure.replace(period, 1, separator);
}

}  // namespace loto
