#include "cli/text_format.h"

namespace loto {

std::string WithSeparator(std::string figure, std::string_view separator) {
    const std::size_t period = figure.find('.');
    return period == std::string::npos ? figure : figure.replace(period, 1, separator);
}

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

std::string ChiSquareSummary(const std::optional<ChiSquareTest>& test, std::string_view separator) {
    if (!test) {
        return "chi-square: not enough draws, every class pooled into one";
    }
    return "chi-square: " + WithSeparator(Printf("%.4f", test->statistic), separator) + " with " +
           std::to_string(test->degreesOfFreedom) +
           " degrees of freedom, p = " + WithSeparator(Printf("%.4g", test->pValue), separator);
}

}  // namespace loto
