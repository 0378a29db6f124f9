#include "cli/report.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <vector>

#include "cli/json_numbers.h"
#include "cli/text_format.h"
#include "stats/summary.h"

namespace loto {
namespace {

using nlohmann::json;

json JsonArray(const std::vector<double>& values) {
    json array = json::array();
    for (const double value : values) {
        array.push_back(JsonDouble(value));
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

}  // namespace

json ReportJson(const PrintedCommand& printed) {
    const SimulateReport& report = printed.report;
    json texts = {{"estimate", report.estimateText}};
    json observed = json::array();
    json expected = json::array();
    json deviation = json::array();
    for (int k = 0; k < kResultRows; ++k) {
        texts["observed"].push_back(report.texts[ResultColumn::Stat][k]);
        texts["expected"].push_back(report.texts[ResultColumn::Theo][k]);
        texts["deviation"].push_back(report.texts[ResultColumn::Ecart][k]);
        observed.push_back(report.tally[k]);
        expected.push_back(JsonSingle(report.ShownExpected(k)));
        deviation.push_back(JsonDouble(report.ShownDeviation(k)));
    }
    json object = {
        {"stream", printed.stream},
        {"command", printed.command},
        {"valid", !report.refused()},
        {"interrupted", report.stopped()},
        {"estimate", IsoTimeJson(report.estimate)},
        {"observed", report.refused() ? json(nullptr) : observed},
        {"expected", report.completed() ? expected : json(nullptr)},
        {"deviation", report.completed() ? deviation : json(nullptr)},
        {"draws", report.drawsDone},
        {"seconds", report.drawSeconds},
        {"texts", texts},
    };
    if (report.refused()) {
        object["refused"] = report.outcome == Outcome::InvalidGrid ? "grid" : "unreadable";
        object["field"] = InputName(report.refusedInput);
    }
    if (printed.statsAsked) {
        object["stats"] = printed.stats ? StatsJson(*printed.stats) : json();
    }
    return object;
}

std::string ReportText(const PrintedCommand& printed, std::string_view separator) {
    const SimulateReport& report = printed.report;
    const std::optional<Significance>& stats = printed.stats;
    std::ostringstream out;
    if (printed.stream != 0) {
        out << "stream: " << printed.stream << '\n';
    }
    out << "estimate: " << report.estimateText << '\n';
    if (report.stopped()) {
        out << "interrupted after " << report.drawsDone << " draws, the tally so far:\n";
    }
    out << " k" << PadLeft("observed", 20) << PadLeft("expected", 20) << PadLeft("deviation %", 16);
    out << (stats ? PadLeft("z", 10) + PadLeft("p", 12) : "") << '\n';
    for (int k = 0; k < kResultRows; ++k) {
        out << ' ' << k << PadLeft(report.texts[ResultColumn::Stat][k], 20)
            << PadLeft(report.texts[ResultColumn::Theo][k], 20)
            << PadLeft(report.texts[ResultColumn::Ecart][k], 16);
        if (stats) {
            out << PadLeft(Shown(stats->z[k], "%.3f", separator), 10)
                << PadLeft(Shown(stats->p[k], "%.4g", separator), 12);
        }
        out << '\n';
    }
    if (stats) {
        out << ChiSquareSummary(*stats, separator) << '\n';
        out << (stats->chiSquare ? PooledLines(*stats, separator) : "");
    } else if (printed.statsAsked) {
        out << "statistics: nothing drawn, nothing to test\n";
    }
    const double seconds = report.drawSeconds;
    const auto draws = static_cast<double>(report.drawsDone);
    const double rate = seconds > 0 ? draws / seconds : 0.0;
    out << "draws: " << report.drawsDone << " in "
        << WithSeparator(Printf("%.3f", seconds), separator) << " s (" << Printf("%.0f", rate)
        << " draws/s)\n";
    return out.str();
}

std::string CsvHeader(bool withStats) {
    return withStats ? "stream,command,k,observed,expected,deviation,z,p,chi_square,df,"
                       "chi_square_p,interrupted\n"
                     : "stream,command,k,observed,expected,deviation,interrupted\n";
}

// The figures behind the window's texts, as numbers in the C locale's forms.
std::string CsvRows(const PrintedCommand& printed) {
    const SimulateReport& report = printed.report;
    std::string lines;
    for (int k = 0; k < kResultRows; ++k) {
        std::vector<std::string> fields = {std::to_string(printed.stream),
                                           std::to_string(printed.command),
                                           std::to_string(k),
                                           report.refused() ? "" : std::to_string(report.tally[k]),
                                           Shortest(report.ShownExpected(k)),
                                           Shortest(report.ShownDeviation(k))};
        if (printed.statsAsked) {
            const auto& stats = printed.stats;
            const auto& test = stats ? stats->chiSquare : std::nullopt;
            fields.push_back(stats ? Shortest(std::optional(stats->z[k])) : "");
            fields.push_back(stats ? Shortest(std::optional(stats->p[k])) : "");
            fields.push_back(Shortest(test ? std::optional(test->statistic) : std::nullopt));
            fields.push_back(test ? std::to_string(test->degreesOfFreedom) : "");
            fields.push_back(Shortest(test ? std::optional(test->pValue) : std::nullopt));
        }
        fields.push_back(report.stopped() ? "1" : "0");
        lines += Joined(fields);
    }
    return lines;
}

}  // namespace loto
