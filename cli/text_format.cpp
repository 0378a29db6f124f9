#include "cli/text_format.h"

namespace loto {

std::string PadLeft(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return std::string(width > characters ? width - characters : 0, ' ') + text;
}

std::string Joined(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) {
        line.append(line.empty() ? "" : ",").append(field);
    }
    return line + '\n';
}

nlohmann::json IsoTimeJson(const std::optional<LocalDateTime>& time) {
    if (!time) {
        return nullptr;
    }
    const auto day = std::chrono::floor<std::chrono::days>(*time);
    const std::chrono::year_month_day date{day};
    const std::chrono::hh_mm_ss clock{*time - day};
    return Printf("%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
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
