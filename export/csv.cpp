#include "export/csv.h"

#include <cmath>
#include <vector>

#include "core/game_input.h"
#include "platform/decimal_digits.h"

namespace loto {
namespace {

// The shortest text that reads back as the same number; "" for none.
template <typename Number>
std::string Shortest(std::optional<Number> value) {
    return value && std::isfinite(*value) ? ShortestText(*value) : "";
}

std::string Line(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) {
        line.append(line.empty() ? "" : ",").append(field);
    }
    return line + '\n';
}

// The statistics' columns of a row: its z and p, and the chi-square of its command.
void AddStats(std::vector<std::string>& fields, const std::optional<Significance>& stats,
              std::size_t row) {
    const auto& test = stats ? stats->chiSquare : std::nullopt;
    fields.push_back(stats ? Shortest(std::optional(stats->z[row])) : "");
    fields.push_back(stats ? Shortest(std::optional(stats->p[row])) : "");
    fields.push_back(Shortest(test ? std::optional(test->statistic) : std::nullopt));
    fields.push_back(test ? std::to_string(test->degreesOfFreedom) : "");
    fields.push_back(Shortest(test ? std::optional(test->pValue) : std::nullopt));
}

// The columns that the play adds to a tier's line.
void AddPlay(std::vector<std::string>& fields, const GameFigures& figures, const TierFigures& row) {
    const Play& play = figures.play;
    if (play.waits) {
        fields.push_back(Shortest(row.meanWait));
        fields.push_back(Shortest(row.meanWaitYears));
        fields.push_back(row.firstHit != 0 ? std::to_string(row.firstHit) : "");
    }
    if (play.money) {
        const MoneyLaw& law = *play.money;
        const MoneyFigures& money = *figures.money;
        fields.insert(
            fields.end(),
            {AmountText(law.payouts[static_cast<std::size_t>(row.tier.index)]),
             AmountText(law.price), AmountText(law.cost), AmountText(money.spent),
             AmountText(money.won), AmountText(money.won - money.spent),
             Shortest(std::optional(law.expectedReturn / 100)),
             Shortest(std::optional(ExpectedNetUnits(law))), Shortest(law.returnRate()),
             Shortest(money.z), Shortest(law.topTierVarianceShare()), Shortest(money.zBelowTop)});
    }
}

}  // namespace

std::string CommandCsvHeader(bool withStats) {
    return withStats ? "stream,command,k,observed,expected,deviation,z,p,chi_square,df,"
                       "chi_square_p,interrupted\n"
                     : "stream,command,k,observed,expected,deviation,interrupted\n";
}

// The figures behind the form's texts.
std::string ToCsv(const PrintedCommand& printed) {
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
            AddStats(fields, printed.stats, static_cast<std::size_t>(k));
        }
        fields.push_back(report.stopped() ? "1" : "0");
        lines += Line(fields);
    }
    return lines;
}

std::string GameCsvHeader(bool withStats, bool waits, bool money) {
    return std::string(
               "stream,command,game,tier,main,bonus,second,observed,expected,probability,"
               "deviation") +
           (withStats ? ",z,p,chi_square,df,chi_square_p" : "") +
           (waits ? ",mean_wait,mean_wait_years,first_hit" : "") +
           (money ? ",payout,price,cost,spent,won,net,expected_return,expected_net,return_rate,z,"
                    "top_tier_variance_share,z_below_top"
                  : "") +
           ",interrupted\n";
}

std::string ToCsv(const PrintedGame& printed) {
    const GameFigures& figures = printed.figures;
    std::string lines;
    for (std::size_t i = 0; i < figures.tiers.size(); ++i) {
        const TierFigures& row = figures.tiers[i];
        const Tier& tier = row.tier;
        std::vector<std::string> fields = {std::to_string(printed.stream),
                                           std::to_string(printed.command),
                                           GameName(figures.rule.game),
                                           TierName(tier),
                                           std::to_string(tier.main),
                                           tier.bonus ? (*tier.bonus ? "1" : "0") : "",
                                           tier.second ? std::to_string(*tier.second) : "",
                                           figures.unreadable ? "" : std::to_string(row.count),
                                           Shortest(row.expected),
                                           Shortest(std::optional(tier.probability)),
                                           Shortest(row.deviation)};
        if (figures.statsAsked) {
            AddStats(fields, figures.stats, i);
        }
        AddPlay(fields, figures, row);
        fields.push_back(figures.report.stopped ? "1" : "0");
        lines += Line(fields);
    }
    return lines;
}

std::string ToCsv(const AuditReport& report) {
    std::string csv =
        "test,pool,statistic,df,p_value,p_holm,calibrated,p_low,p_high,histories,"
        "ticket\n";
    for (const AuditEntry& entry : report.family) {
        const TestResult& test = entry.test;
        const std::optional<CalibratedP>& c = test.calibrated;
        const bool ticket = report.ticket && test.name == "ticket";
        csv +=
            Line({test.name, PoolName(entry.pool), Shortest(std::optional(test.statistic)),
                  test.freedom ? std::to_string(*test.freedom) : "",
                  Shortest(std::optional(test.pValue)), Shortest(std::optional(entry.holm)),
                  c ? "1" : "0", c ? Shortest(std::optional(c->low)) : "",
                  c ? Shortest(std::optional(c->high)) : "", c ? std::to_string(c->histories) : "",
                  ticket ? TicketText(*report.ticket) : ""});
    }
    return csv;
}

std::string ToCsv(const std::vector<AuditReport>& periods) {
    std::string csv;
    for (const AuditReport& report : periods) {
        const std::string lines = ToCsv(report);
        const std::size_t body = lines.find('\n') + 1;
        if (csv.empty()) {
            csv = lines.substr(0, body - 1) + ",period\n";
        }
        for (std::size_t from = body; from < lines.size();) {
            const std::size_t end = lines.find('\n', from);
            csv += lines.substr(from, end - from) + "," + report.period->from + "\n";
            from = end + 1;
        }
    }
    return csv;
}

}  // namespace loto
