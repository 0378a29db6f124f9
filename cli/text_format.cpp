#include "cli/text_format.h"

namespace loto {

std::string PadLeft(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return std::string(width > characters ? width - characters : 0, ' ') + text;
}

std::string Fixed(long double value, int decimals, std::string_view separator, long double unit) {
    const long double magnitude = std::fabs(value);
    const long double held = std::max(unit, magnitude * 1e-18L);
    int places = decimals;
    while (places > 0 && std::pow(10.0L, -places) < held) {
        --places;
    }
    if (held <= 1) {
        return WithSeparator(Printf("%.*Lf", places, value), separator);
    }
    const int digits = std::max(
        1, static_cast<int>(std::floor(std::log10(magnitude)) - std::floor(std::log10(held))) + 1);
    return WithSeparator(Printf("%.*Lg", digits, value), separator);
}

std::string Fixed(std::optional<double> value, int decimals, std::string_view separator) {
    if (!value || !std::isfinite(*value)) {
        return "-";
    }
    return Fixed(*value, decimals, separator, std::fabs(static_cast<long double>(*value)) * 1e-15L);
}

std::string Shown(std::optional<double> value, const char* format, std::string_view separator) {
    return value && std::isfinite(*value) ? WithSeparator(Printf(format, *value), separator) : "-";
}

}  // namespace loto
