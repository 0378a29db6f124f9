#include "cli/game_report.h"

#include <cmath>
#include <sstream>

#include "cli/json_numbers.h"
#include "cli/text_format.h"
#include "core/statistics.h"
#include "platform/number_text.h"
#include "stats/summary.h"

namespace loto {
namespace {

using nlohmann::json;

constexpr std::string_view kExpectedPattern = "##0.########";
constexpr std::string_view kDeviationPattern = "#####0.#####";

json NumbersJson(const NumberSet& set, int top) {
    json numbers = json::array();
    for (int n = 1; n <= top; ++n) {
        if (set.Has(n)) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

json TierJson(const PrintedGame& printed, std::size_t i) {
    const Tier& tier = printed.tiers[i];
    json entry = {{"tier", TierName(tier)},
                  {"main", tier.main},
                  {"bonus", tier.bonus ? json(*tier.bonus) : json()},
                  {"second", tier.second ? json(*tier.second) : json()},
                  {"count", printed.unreadable ? json() : json(printed.Count(tier))},
                  {"expected", JsonDouble(printed.Expected(tier))},
                  {"probability", JsonDouble(tier.probability)},
                  {"deviation", JsonDouble(printed.Deviation(tier))}};
    if (printed.stats) {
        entry["z"] = JsonDouble(printed.stats->z[i]);
        entry["p"] = JsonDouble(printed.stats->p[i]);
    }
    if (printed.play.waits) {
        AddWaitsJson(entry, printed, tier);
    }
    return entry;
}

// The names of the first and last tier of a pooled group.
std::string GroupName(const PrintedGame& printed, const ClassGroup& group) {
    const auto name = [&](int i) { return TierName(printed.tiers[static_cast<std::size_t>(i)]); };
    return group.first == group.last ? name(group.first)
                                     : name(group.first) + " to " + name(group.last);
}

json StatsJson(const PrintedGame& printed) {
    const Significance& stats = *printed.stats;
    json groups = json::array();
    for (const ClassGroup& group : stats.groups) {
        json names = json::array();
        for (int i = group.first; i <= group.last; ++i) {
            names.push_back(TierName(printed.tiers[static_cast<std::size_t>(i)]));
        }
        groups.push_back(names);
    }
    const std::optional<ChiSquareTest>& test = stats.chiSquare;
    return {{"chi_square", test ? JsonDouble(test->statistic) : json()},
            {"df", test ? json(test->degreesOfFreedom) : json()},
            {"p_value", test ? JsonDouble(test->pValue) : json()},
            {"groups", groups}};
}

std::string Figure(std::optional<double> value, std::string_view pattern,
                   std::string_view separator) {
    return value ? FormatPattern(*value, pattern, separator) : "";
}

}  // namespace

std::uint64_t PrintedGame::Count(const Tier& tier) const {
    return report.tally.empty() ? 0 : report.tally[static_cast<std::size_t>(tier.index)];
}

// A command drawn until a tier expects its counts of the draws that it took.
std::optional<double> PrintedGame::Expected(const Tier& tier) const {
    const double expected = ExpectedDraws(report, play.until.has_value()) * tier.probability;
    return Completed() && std::isfinite(expected) ? std::optional(expected) : std::nullopt;
}

std::optional<double> PrintedGame::Deviation(const Tier& tier) const {
    const std::optional<double> expected = Expected(tier);
    const double deviation =
        expected ? DeviationPercent(static_cast<double>(Count(tier)), *expected) : NAN;
    return std::isfinite(deviation) ? std::optional(deviation) : std::nullopt;
}

std::vector<double> Probabilities(const std::vector<Tier>& tiers) {
    std::vector<double> probabilities;
    for (const Tier& tier : tiers) {
        probabilities.push_back(tier.probability);
    }
    return probabilities;
}

PrintedGame MakePrintedGame(std::uint64_t stream, int command, const DrawRule& rule,
                            GameReport report, bool unreadable, bool statsAsked, PlayShown play) {
    PrintedGame printed{.stream = stream,
                        .command = command,
                        .rule = rule,
                        .tiers = Tiers(rule, report.tally),
                        .report = std::move(report),
                        .unreadable = unreadable,
                        .statsAsked = statsAsked,
                        .play = std::move(play)};
    if (statsAsked && !unreadable) {
        std::vector<std::uint64_t> counts;
        for (const Tier& tier : printed.tiers) {
            counts.push_back(printed.Count(tier));
        }
        printed.stats =
            TestSignificance(counts, Probabilities(printed.tiers), printed.report.drawsDone);
    }
    return printed;
}

json GameJson(const PrintedGame& printed) {
    const GameReport& report = printed.report;
    json tiers = json::array();
    for (std::size_t i = 0; i < printed.tiers.size(); ++i) {
        tiers.push_back(TierJson(printed, i));
    }
    const Game& game = printed.rule.game;
    json ticket = {{"main", NumbersJson(printed.rule.main, game.main.top)}};
    if (game.hasSecond()) {
        ticket["second"] = NumbersJson(printed.rule.second, game.second.top);
    }
    json object = {{"stream", printed.stream},
                   {"command", printed.command},
                   {"game", GameName(game)},
                   {"ticket", ticket},
                   {"valid", !printed.unreadable},
                   {"interrupted", report.stopped},
                   {"estimate", IsoTimeJson(report.estimate)},
                   {"tiers", tiers},
                   {"draws", report.drawsDone},
                   {"seconds", report.drawSeconds}};
    if (printed.unreadable) {
        object["refused"] = "unreadable";
        object["field"] = "DRAWS";
    }
    if (printed.statsAsked) {
        object["stats"] = printed.stats ? StatsJson(printed) : json();
    }
    AddPlayJson(object, printed);
    return object;
}

std::string GameText(const PrintedGame& printed, std::string_view separator) {
    const GameReport& report = printed.report;
    const std::optional<Significance>& stats = printed.stats;
    std::ostringstream out;
    if (printed.stream != 0) {
        out << "stream: " << printed.stream << '\n';
    }
    out << "game: " << GameName(printed.rule.game) << '\n';
    out << "estimate: " << report.estimateText << '\n';
    if (report.stopped) {
        out << "interrupted after " << report.drawsDone << " draws, the tally so far:\n";
    }
    out << " tier" << PadLeft("observed", 17) << PadLeft("expected", 20)
        << PadLeft("deviation %", 16) << (stats ? PadLeft("z", 10) + PadLeft("p", 12) : "")
        << (printed.play.waits ? WaitsHead() : "") << '\n';
    for (std::size_t i = 0; i < printed.tiers.size(); ++i) {
        const Tier& tier = printed.tiers[i];
        const std::string count =
            printed.unreadable ? "" : CountToText(static_cast<double>(printed.Count(tier)), ".");
        out << ' ' << TierName(tier) << PadLeft(count, 21 - TierName(tier).size())
            << PadLeft(Figure(printed.Expected(tier), kExpectedPattern, separator), 20)
            << PadLeft(Figure(printed.Deviation(tier), kDeviationPattern, separator), 16);
        if (stats) {
            out << PadLeft(Shown(stats->z[i], "%.3f", separator), 10)
                << PadLeft(Shown(stats->p[i], "%.4g", separator), 12);
        }
        if (printed.play.waits) {
            out << WaitsColumns(printed, tier, separator);
        }
        out << '\n';
    }
    if (stats) {
        out << ChiSquareSummary(*stats, separator) << '\n';
        for (const ClassGroup& group : stats->groups) {
            if (stats->chiSquare && group.first != group.last) {
                out << "  tiers " << GroupName(printed, group)
                    << " pooled: expected counts under 5 (together "
                    << WithSeparator(Printf("%.4g", group.expected), separator) << ")\n";
            }
        }
    } else if (printed.statsAsked) {
        out << "statistics: nothing drawn, nothing to test\n";
    }
    out << PlayText(printed, separator);
    const double rate =
        report.drawSeconds > 0 ? static_cast<double>(report.drawsDone) / report.drawSeconds : 0.0;
    out << "draws: " << report.drawsDone << " in "
        << WithSeparator(Printf("%.3f", report.drawSeconds), separator) << " s ("
        << Printf("%.0f", rate) << " draws/s)\n";
    return out.str();
}

std::string GameCsvHeader(bool withStats, bool waits, bool money) {
    return std::string(
               "stream,command,game,tier,main,bonus,second,observed,expected,probability,"
               "deviation") +
           (withStats ? ",z,p,chi_square,df,chi_square_p" : "") + PlayCsvHeader(waits, money) +
           ",interrupted\n";
}

std::string GameCsvRows(const PrintedGame& printed) {
    std::string lines;
    for (std::size_t i = 0; i < printed.tiers.size(); ++i) {
        const Tier& tier = printed.tiers[i];
        std::vector<std::string> fields = {
            std::to_string(printed.stream),
            std::to_string(printed.command),
            GameName(printed.rule.game),
            TierName(tier),
            std::to_string(tier.main),
            tier.bonus ? (*tier.bonus ? "1" : "0") : "",
            tier.second ? std::to_string(*tier.second) : "",
            printed.unreadable ? "" : std::to_string(printed.Count(tier)),
            Shortest(printed.Expected(tier)),
            Shortest(std::optional(tier.probability)),
            Shortest(printed.Deviation(tier))};
        if (printed.statsAsked) {
            const auto& stats = printed.stats;
            const auto& test = stats ? stats->chiSquare : std::nullopt;
            fields.push_back(stats ? Shortest(std::optional(stats->z[i])) : "");
            fields.push_back(stats ? Shortest(std::optional(stats->p[i])) : "");
            fields.push_back(Shortest(test ? std::optional(test->statistic) : std::nullopt));
            fields.push_back(test ? std::to_string(test->degreesOfFreedom) : "");
            fields.push_back(Shortest(test ? std::optional(test->pValue) : std::nullopt));
        }
        const std::vector<std::string> play = PlayCsvFields(printed, tier);
        fields.insert(fields.end(), play.begin(), play.end());
        fields.push_back(printed.report.stopped ? "1" : "0");
        lines += Joined(fields);
    }
    return lines;
}

}  // namespace loto
