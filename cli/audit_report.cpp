#include "cli/audit_report.h"

#include <algorithm>
#include <sstream>

#include "cli/json_numbers.h"
#include "cli/text_format.h"
#include "stats/weighted_chi_square.h"

namespace loto {
namespace {

using nlohmann::json;

constexpr std::size_t kNameWidth = 20;

std::string PadRight(const std::string& text, std::size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text + ' ';
}

std::string Figure(double value, const char* format, std::string_view separator) {
    return WithSeparator(Printf(format, value), separator);
}

std::string Row(const AuditEntry& entry, std::string_view separator) {
    const TestResult& test = entry.test;
    return PadRight(test.name, kNameWidth) + PadRight(PoolName(entry.pool), 6) +
           PadLeft(Figure(test.statistic, "%.6g", separator), 14) +
           PadLeft(test.freedom ? std::to_string(*test.freedom) : "-", 9) +
           PadLeft(Figure(test.pValue, "%.4g", separator) + (test.calibrated ? "*" : " "), 13) +
           PadLeft(Figure(entry.holm, "%.4g", separator), 12) + '\n';
}

// Which number or pair an extreme test found, how often it came and how often it should have.
std::string Extreme(const AuditEntry& entry, std::string_view separator) {
    const ExtremeCount& cell = *entry.test.extreme;
    const std::string which =
        cell.second == 0 ? "number " + std::to_string(cell.first)
                         : "pair " + std::to_string(cell.first) + "-" + std::to_string(cell.second);
    return entry.test.name + " (" + PoolName(entry.pool) + "): " + which + ", drawn " +
           std::to_string(cell.count) + " times against " +
           Figure(cell.expected, "%.1f", separator) + " expected\n";
}

// A calibrated p-value with its error: the fair histories are a sample, their share an estimate.
std::string Calibration(const AuditEntry& entry, std::string_view separator) {
    const CalibratedP& c = *entry.test.calibrated;
    const double halfWidth = std::max(c.high - c.p, c.p - c.low);
    std::string note =
        "*: " + entry.test.name + " (" + PoolName(entry.pool) + ") calibrated on " +
        std::to_string(c.histories) +
        " fair histories of the same length (fixed seed): p = " + Figure(c.p, "%.4g", separator) +
        " \u00b1 " + Figure(halfWidth, "%.2g", separator) + ", its 99 % interval " +
        Figure(c.low, "%.4g", separator) + " to " + Figure(c.high, "%.4g", separator);
    return note + (c.settled ? "\n" : ", which still holds one of Holm's levels\n");
}

// What the table's figures carry that a plain chi-square would not, pool by pool.
std::string Notes(const AuditReport& report, std::string_view separator) {
    std::string notes;
    for (const AuditEntry& entry : report.family) {
        const bool main = entry.pool == AuditPool::Main;
        const int k = main ? report.game.main.drawn : report.game.second.drawn;
        const int n = main ? report.game.main.top : report.game.second.top;
        const std::string pool = std::string(" (") + PoolName(entry.pool) + "): ";
        if (entry.test.name == "numbers") {
            notes += "numbers" + pool + "Pearson's X\u00b2 of the " + std::to_string(n) +
                     " numbers' counts is " +
                     Figure(entry.test.statistic * (n - k) / (n - 1), "%.6g", separator) +
                     "; drawn without replacement it is " + std::to_string(n - k) + "/" +
                     std::to_string(n - 1) + " times a chi-square of " + std::to_string(n - 1) +
                     " degrees of freedom, hence the statistic X\u00b2 x " + std::to_string(n - 1) +
                     "/" + std::to_string(n - k) + "\n";
        } else if (entry.test.name == "pairs") {
            std::string law;
            for (const WeightedChiSquare& term : PearsonLaw(2, k, n)) {
                law += (law.empty() ? "" : " + ") + Figure(term.weight, "%.4f", separator) +
                       " \u03c7\u00b2(" + std::to_string(term.freedom) + ")";
            }
            notes += "pairs" + pool + "X\u00b2 of the " + std::to_string(n * (n - 1) / 2) +
                     " pairs against " + law +
                     ", the weighted sum of Genest, Lockhart and Stephens, not one chi-square\n";
        }
    }
    const bool extremes = std::any_of(report.family.begin(), report.family.end(),
                                      [](const AuditEntry& entry) { return entry.test.extreme; });
    if (extremes) {
        notes +=
            "extremes: the statistic is the smallest two-sided binomial p-value of one number or "
            "pair, the p-value its \u0160id\u00e1k adjustment for all those compared\n";
    }
    for (const AuditEntry& entry : report.family) {
        if (entry.test.extreme) {
            notes += Extreme(entry, separator);
        }
    }
    for (const AuditEntry& entry : report.family) {
        if (entry.test.calibrated) {
            notes += Calibration(entry, separator);
        } else if (entry.test.name == "gaps") {
            notes += "gaps (" + std::string(PoolName(entry.pool)) +
                     "): not calibrated (--calibrate 0): the chi-square law's p-value, which "
                     "ignores that the gaps of different numbers are dependent\n";
        }
    }
    return notes;
}

// One sentence: whether anything is unlikely under fair draws at the level, and what that does
// not mean.
std::string Verdict(const AuditReport& report, std::string_view separator) {
    std::string line = "Holm's adjustment of the " + std::to_string(report.family.size()) +
                       " p-values at alpha = " + Figure(report.alpha, "%g", separator) + ": ";
    std::string unlikely;
    int flagged = 0;
    for (const AuditEntry& entry : report.family) {
        if (entry.holm < report.alpha) {
            unlikely += (flagged++ == 0 ? "" : ", ") + entry.test.name + " (" +
                        PoolName(entry.pool) +
                        ", Holm p = " + Figure(entry.holm, "%.3g", separator) + ")";
        }
    }
    if (unlikely.empty()) {
        return line +
               "nothing is unlikely under fair draws; this does not show that the draws are fair, "
               "only that these tests found no departure that " +
               std::to_string(report.draws) + " draws let them see\n";
    }
    return line + unlikely + (flagged == 1 ? " is" : " are") +
           " unlikely under fair draws; this is not the probability that the draws are unfair, "
           "nor how large a fault is or where it lies\n";
}

json TestJson(const AuditEntry& entry) {
    const TestResult& test = entry.test;
    const std::optional<CalibratedP>& c = test.calibrated;
    return {{"name", test.name},
            {"pool", PoolName(entry.pool)},
            {"statistic", JsonDouble(test.statistic)},
            {"df", test.freedom ? json(*test.freedom) : json()},
            {"p_value", JsonDouble(test.pValue)},
            {"p_holm", JsonDouble(entry.holm)},
            {"calibrated", c.has_value()},
            {"p_interval", c ? json::array({JsonDouble(c->low), JsonDouble(c->high)}) : json()},
            {"histories", c ? json(c->histories) : json()}};
}

// The ticket's numbers as it is typed: the main ones, then '+' and the second pool's.
std::string TicketText(const DrawRule& rule) {
    std::string text;
    const auto add = [&](const NumberSet& numbers, int top) {
        for (int n = 1; n <= top; ++n) {
            if (numbers.Has(n)) {
                text.append(text.empty() ? "" : " ").append(std::to_string(n));
            }
        }
    };
    add(rule.main, rule.game.main.top);
    if (rule.game.hasSecond()) {
        text += " +";
        add(rule.second, rule.game.second.top);
    }
    return text;
}

json TicketJson(const DrawRule& rule) {
    const auto numbers = [](const NumberSet& set, int top) {
        json list = json::array();
        for (int n = 1; n <= top; ++n) {
            if (set.Has(n)) {
                list.push_back(n);
            }
        }
        return list;
    };
    json ticket = {{"main", numbers(rule.main, rule.game.main.top)}};
    if (rule.game.hasSecond()) {
        ticket["second"] = numbers(rule.second, rule.game.second.top);
    }
    return ticket;
}

}  // namespace

std::string AuditText(const AuditReport& report, std::string_view separator) {
    std::ostringstream out;
    out << "audit of " << report.source << ": " << report.draws << " draws of "
        << GameName(report.game) << '\n';
    if (report.guess) {
        out << "warning: " << *report.guess << '\n';
    }
    if (report.ticket) {
        out << "ticket: " << TicketText(*report.ticket) << '\n';
    }
    if (!report.setAside.empty()) {
        out << "set aside: " << report.setAside.size() << '\n';
        for (const BadLine& bad : report.setAside) {
            out << "  " << report.lineWord << ' ' << bad.line << ": " << bad.reason << '\n';
        }
    }
    out << PadRight("test", kNameWidth) << PadRight("pool", 6) << PadLeft("statistic", 14)
        << PadLeft("df", 9) << PadLeft("p-value", 13) << PadLeft("Holm", 12) << '\n';
    for (const AuditEntry& entry : report.family) {
        out << Row(entry, separator);
    }
    out << Notes(report, separator) << Verdict(report, separator);
    return out.str();
}

json AuditJson(const AuditReport& report) {
    json setAside = json::array();
    for (const BadLine& bad : report.setAside) {
        setAside.push_back({{"line", bad.line}, {"fields", bad.fields}, {"reason", bad.reason}});
    }
    json tests = json::array();
    for (const AuditEntry& entry : report.family) {
        tests.push_back(TestJson(entry));
    }
    return {{"draws", report.draws},
            {"game", GameName(report.game)},
            {"ticket", report.ticket ? TicketJson(*report.ticket) : json()},
            {"set_aside", setAside},
            {"tests", tests},
            {"flagged", report.flagged()}};
}

std::string AuditCsv(const AuditReport& report) {
    std::string csv =
        "test,pool,statistic,df,p_value,p_holm,calibrated,p_low,p_high,histories,"
        "ticket\n";
    for (const AuditEntry& entry : report.family) {
        const TestResult& test = entry.test;
        const std::optional<CalibratedP>& c = test.calibrated;
        const bool ticket = report.ticket && test.name == "ticket";
        csv += Joined({test.name, PoolName(entry.pool), Shortest(std::optional(test.statistic)),
                       test.freedom ? std::to_string(*test.freedom) : "",
                       Shortest(std::optional(test.pValue)), Shortest(std::optional(entry.holm)),
                       c ? "1" : "0", c ? Shortest(std::optional(c->low)) : "",
                       c ? Shortest(std::optional(c->high)) : "",
                       c ? std::to_string(c->histories) : "",
                       ticket ? TicketText(*report.ticket) : ""});
    }
    return csv;
}

}  // namespace loto
