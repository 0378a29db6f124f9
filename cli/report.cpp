#include "cli/report.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <vector>

#include "cli/text_format.h"

namespace loto {
namespace {

using nlohmann::json;

// The shortest text that reads back as the same number; "" for none.
template <typename Number>
std::string Shortest(std::optional<Number> value) {
    if (!value || !std::isfinite(*value)) {
        return "";
    }
    char text[64];
    return {text, std::to_chars(text, text + sizeof text, *value).ptr};
}

// A JSON number, null for none: an expected count is a Single, written as its shortest text.
template <typename Number>
json JsonNumber(std::optional<Number> value) {
    const std::string text = Shortest(value);
    return text.empty() ? json(nullptr) : json::parse(text);
}

json JsonArray(const std::array<double, 7>& values) {
    json array = json::array();
    for (const double value : values) {
        array.push_back(JsonNumber(std::optional(value)));
    }
    return array;
}

json StatsJson(const Significance& stats) {
    json groups = json::array();
    for (const ClassGroup& group : stats.groups) {
        groups.push_back({group.first, group.last});
    }
    const std::optional<ChiSquareTest>& test = stats.chiSquare;
    return {{"z", JsonArray(stats.z)},
            {"p", JsonArray(stats.p)},
            {"chi_square", test ? json(test->statistic) : json()},
            {"df", test ? json(test->degreesOfFreedom) : json()},
            {"p_value", test ? json(test->pValue) : json()},
            {"groups", groups}};
}

json IsoTime(const std::optional<LocalDateTime>& time) {
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

// Right-aligns UTF-8 text by its characters, not its bytes.
std::string PadLeft(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return std::string(width > characters ? width - characters : 0, ' ') + text;
}

std::string PooledLines(const Significance& stats, std::string_view separator) {
    std::string lines;
    for (const ClassGroup& group : stats.groups) {
        if (group.first != group.last) {
            lines += "  k = " + std::to_string(group.first) + " to " + std::to_string(group.last) +
                     " pooled: expected counts under 5 (together " +
                     WithSeparator(Printf("%.4g", group.expected), separator) + ")\n";
        }
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) {
        line += (line.empty() ? "" : ",") + field;
    }
    return line + '\n';
}

}  // namespace

json ReportJson(const CommandRows& rows) {
    json texts = {{"estimate", rows.estimateText}};
    json observed = json::array();
    json expected = json::array();
    json deviation = json::array();
    for (const CommandRows::Row& row : rows.rows) {
        texts["observed"].push_back(row.observedText);
        texts["expected"].push_back(row.expectedText);
        texts["deviation"].push_back(row.deviationText);
        observed.push_back(row.observed);
        expected.push_back(JsonNumber(row.expected));
        deviation.push_back(JsonNumber(row.deviation));
    }
    const bool completed = rows.outcome == Outcome::Completed;
    json object = {
        {"stream", rows.stream},
        {"command", rows.command},
        {"valid", !rows.refused()},
        {"interrupted", rows.interrupted()},
        {"estimate", IsoTime(rows.estimate)},
        {"observed", rows.refused() ? json(nullptr) : observed},
        {"expected", completed ? expected : json(nullptr)},
        {"deviation", completed ? deviation : json(nullptr)},
        {"draws", rows.draws},
        {"seconds", rows.seconds},
        {"texts", texts},
    };
    if (rows.refused()) {
        object["refused"] = rows.outcome == Outcome::InvalidGrid ? "grid" : "unreadable";
        object["field"] = InputName(rows.refusedInput);
    }
    if (rows.statsAsked) {
        object["stats"] = rows.stats ? StatsJson(*rows.stats) : json();
    }
    return object;
}

std::string ReportText(const CommandRows& rows, std::string_view separator) {
    const std::optional<Significance>& stats = rows.stats;
    std::ostringstream out;
    if (rows.stream != 0) {
        out << "stream: " << rows.stream << '\n';
    }
    out << "estimate: " << rows.estimateText << '\n';
    if (rows.interrupted()) {
        out << "interrupted after " << rows.draws << " draws, the tally so far:\n";
    }
    out << " k" << PadLeft("observed", 20) << PadLeft("expected", 20) << PadLeft("deviation %", 16);
    out << (stats ? PadLeft("z", 10) + PadLeft("p", 12) : "") << '\n';
    for (int k = 0; k < kResultRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const CommandRows::Row& row = rows.rows[i];
        out << ' ' << k << PadLeft(row.observedText, 20) << PadLeft(row.expectedText, 20)
            << PadLeft(row.deviationText, 16);
        if (stats) {
            out << PadLeft(WithSeparator(Printf("%.3f", stats->z[i]), separator), 10)
                << PadLeft(WithSeparator(Printf("%.4g", stats->p[i]), separator), 12);
        }
        out << '\n';
    }
    if (stats) {
        out << ChiSquareSummary(stats->chiSquare, separator) << '\n';
        out << (stats->chiSquare ? PooledLines(*stats, separator) : "");
    } else if (rows.statsAsked) {
        out << "statistics: nothing drawn, nothing to test\n";
    }
    const double rate = rows.seconds > 0 ? static_cast<double>(rows.draws) / rows.seconds : 0.0;
    out << "draws: " << rows.draws << " in "
        << WithSeparator(Printf("%.3f", rows.seconds), separator) << " s (" << Printf("%.0f", rate)
        << " draws/s)\n";
    return out.str();
}

std::string CsvHeader(bool withStats) {
    return withStats ? "stream,command,k,observed,expected,deviation,z,p,chi_square,df,"
                       "chi_square_p,interrupted\n"
                     : "stream,command,k,observed,expected,deviation,interrupted\n";
}

// The figures behind the window's texts, as numbers in the C locale's forms.
std::string CsvRows(const CommandRows& rows) {
    std::string lines;
    for (int k = 0; k < kResultRows; ++k) {
        const CommandRows::Row& row = rows.rows[static_cast<std::size_t>(k)];
        std::vector<std::string> fields = {
            std::to_string(rows.stream), std::to_string(rows.command),
            std::to_string(k),           rows.refused() ? "" : std::to_string(row.observed),
            Shortest(row.expected),      Shortest(row.deviation)};
        if (rows.statsAsked) {
            const auto& stats = rows.stats;
            const auto& test = stats ? stats->chiSquare : std::nullopt;
            const auto i = static_cast<std::size_t>(k);
            fields.push_back(stats ? Shortest(std::optional(stats->z[i])) : "");
            fields.push_back(stats ? Shortest(std::optional(stats->p[i])) : "");
            fields.push_back(Shortest(test ? std::optional(test->statistic) : std::nullopt));
            fields.push_back(test ? std::to_string(test->degreesOfFreedom) : "");
            fields.push_back(Shortest(test ? std::optional(test->pValue) : std::nullopt));
        }
        fields.push_back(rows.interrupted() ? "1" : "0");
        lines += Joined(fields);
    }
    return lines;
}

}  // namespace loto
