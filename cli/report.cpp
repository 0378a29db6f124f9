#include "cli/report.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace loto {
namespace {

double DrawsPerSecond(const SimulateReport& report) {
    return report.drawSeconds > 0 ? static_cast<double>(report.drawsDone) / report.drawSeconds
                                  : 0.0;
}

nlohmann::json Figures(const std::array<std::optional<double>, 7>& values) {
    nlohmann::json figures = nlohmann::json::array();
    for (const std::optional<double>& value : values) {
        figures.push_back(value ? nlohmann::json(*value) : nlohmann::json(nullptr));
    }
    return figures;
}

nlohmann::json StatsJson(const Significance& stats) {
    nlohmann::json json = {{"z", Figures(stats.z)}, {"p", Figures(stats.p)}};
    if (stats.chiSquare) {
        nlohmann::json groups = nlohmann::json::array();
        for (const ClassGroup& group : stats.chiSquare->groups) {
            groups.push_back({group.first, group.last});
        }
        json["chi_square"] = stats.chiSquare->statistic;
        json["df"] = stats.chiSquare->degreesOfFreedom;
        json["p_value"] = stats.chiSquare->pValue;
        json["groups"] = groups;
    } else {
        json["chi_square"] = nullptr;
    }
    return json;
}

// Right-aligns UTF-8 text by its characters, not its bytes.
std::string PadLeft(const std::string& text, std::size_t width) {
    std::size_t characters = 0;
    for (const char c : text) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return std::string(width > characters ? width - characters : 0, ' ') + text;
}

// The message as one line: the window spreads it over its label with runs of spaces.
std::string OneLine(std::string_view caption) {
    std::string line;
    for (const char c : caption) {
        if (c != ' ' || (!line.empty() && line.back() != ' ')) {
            line.push_back(c);
        }
    }
    while (!line.empty() && line.back() == ' ') {
        line.pop_back();
    }
    return line;
}

std::string Printed(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string ChiSquareLine(const Significance& stats) {
    if (!stats.chiSquare) {
        return "chi-square: not enough draws, every class pooled into one\n";
    }
    const ChiSquareTest& test = *stats.chiSquare;
    std::string line = "chi-square: " + Printed("%.4f", test.statistic) + " with " +
                       std::to_string(test.degreesOfFreedom) +
                       " degrees of freedom, p = " + Printed("%.4g", test.pValue) + "\n";
    for (const ClassGroup& group : test.groups) {
        if (group.first != group.last) {
            line += "  k = " + std::to_string(group.first) + " to " + std::to_string(group.last) +
                    " pooled: expected counts under 5 (together " +
                    Printed("%.4g", group.expected) + ")\n";
        }
    }
    return line;
}

// The shortest text that reads back as the same number; "" for none.
std::string Number(std::optional<double> value) {
    if (!value || !std::isfinite(*value)) {
        return "";
    }
    char text[64];
    return {text, std::to_chars(text, text + sizeof text, *value).ptr};
}

// An expected count is a Single: its shortest text reads back as the same Single.
std::string SingleNumber(float value) {
    if (!std::isfinite(value)) {
        return "";
    }
    char text[64];
    return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

bool Interrupted(const CommandResult& result) {
    return result.report.outcome == Outcome::Stopped;
}

// The observed count of row k: the window's text, or the tally so far of an interrupted command.
std::string Observed(const CommandResult& result, int k) {
    return Interrupted(result) ? std::to_string(result.report.tally[static_cast<std::size_t>(k)])
                               : result.window.result(ResultColumn::Stat, k);
}

}  // namespace

nlohmann::json ReportJson(const CommandResult& result) {
    nlohmann::json observed = nlohmann::json::array();
    nlohmann::json expected = nlohmann::json::array();
    nlohmann::json deviation = nlohmann::json::array();
    for (int k = 0; k < kResultRows; ++k) {
        observed.push_back(Observed(result, k));
        expected.push_back(result.window.result(ResultColumn::Theo, k));
        deviation.push_back(result.window.result(ResultColumn::Ecart, k));
    }
    nlohmann::json json = {
        {"valid", result.report.outcome == Outcome::Completed},
        {"interrupted", Interrupted(result)},
        {"estimate", result.window.estimate()},
        {"observed", observed},
        {"expected", expected},
        {"deviation", deviation},
        {"draws", result.report.drawsDone},
        {"seconds", result.report.drawSeconds},
    };
    if (result.statsAsked) {
        json["stats"] = result.stats != nullptr ? StatsJson(*result.stats) : nlohmann::json();
    }
    return json;
}

std::string ReportText(const CommandResult& result) {
    const HeadlessWindow& window = result.window;
    const Significance* stats = result.stats;
    std::ostringstream out;
    out << "estimate: " << window.estimate() << '\n';
    if (window.messageVisible(Message::ValidGrille)) {
        out << OneLine(MessageCaption(Message::ValidGrille)) << '\n';
    }
    if (Interrupted(result)) {
        out << "interrupted after " << result.report.drawsDone << " draws, the tally so far:\n";
    }
    out << " k" << PadLeft("observed", 20) << PadLeft("expected", 20) << PadLeft("deviation %", 16);
    out << (stats != nullptr ? PadLeft("z", 10) + PadLeft("p", 12) : "") << '\n';
    for (int k = 0; k < kResultRows; ++k) {
        out << ' ' << k << PadLeft(Observed(result, k), 20)
            << PadLeft(window.result(ResultColumn::Theo, k), 20)
            << PadLeft(window.result(ResultColumn::Ecart, k), 16);
        if (stats != nullptr && stats->z[static_cast<std::size_t>(k)]) {
            out << PadLeft(Printed("%.3f", *stats->z[static_cast<std::size_t>(k)]), 10)
                << PadLeft(Printed("%.4g", *stats->p[static_cast<std::size_t>(k)]), 12);
        }
        out << '\n';
    }
    if (stats != nullptr) {
        out << ChiSquareLine(*stats);
    }
    out << "draws: " << result.report.drawsDone << " in "
        << Printed("%.3f", result.report.drawSeconds) << " s ("
        << Printed("%.0f", DrawsPerSecond(result.report)) << " draws/s)\n";
    return out.str();
}

std::string CsvHeader(bool withStats) {
    return withStats ? "command,k,observed,expected,deviation,z,p,chi_square,df,chi_square_p,"
                       "interrupted\n"
                     : "command,k,observed,expected,deviation,interrupted\n";
}

// The figures behind the window's texts, as numbers: the same computed result.
std::string CsvRows(int command, const CommandResult& result) {
    const SimulateReport& report = result.report;
    const bool drew = report.outcome == Outcome::Completed;
    std::string rows;
    for (int k = 0; k < kResultRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        rows += std::to_string(command) + ',' + std::to_string(k) + ',';
        if (drew) {
            rows += std::to_string(report.tally[i]) + ',' + SingleNumber(report.expected[i]) + ',' +
                    Number(-report.deviations[i]);
        } else {
            rows += Interrupted(result) ? Observed(result, k) + ",," : ",,";
        }
        if (result.statsAsked && result.stats == nullptr) {
            rows += ",,,,,";
        } else if (result.statsAsked) {
            const Significance& stats = *result.stats;
            const auto& test = stats.chiSquare;
            rows += ',' + Number(stats.z[i]) + ',' + Number(stats.p[i]) + ',' +
                    Number(test ? std::optional(test->statistic) : std::nullopt) + ',' +
                    (test ? std::to_string(test->degreesOfFreedom) : "") + ',' +
                    Number(test ? std::optional(test->pValue) : std::nullopt);
        }
        rows += Interrupted(result) ? ",1\n" : ",0\n";
    }
    return rows;
}

}  // namespace loto
