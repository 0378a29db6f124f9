#include "cli/text.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>

#include "cli/text_format.h"
#include "core/combinations.h"
#include "core/game_input.h"
#include "platform/number_text.h"
#include "platform/printf.h"
#include "platform/quoted_text.h"
#include "stats/summary.h"
#include "stats/weighted_chi_square.h"

namespace loto {
namespace {

constexpr std::string_view kExpectedPattern = "##0.########";
constexpr std::string_view kDeviationPattern = "#####0.#####";

// What is above a command's table: its stream, its game (none for 6/49's), its estimate, and
// whether it was interrupted.
std::string Heading(std::uint64_t stream, const std::string& game, const std::string& estimate,
                    bool stopped, std::uint64_t draws) {
    std::string text = stream != 0 ? "stream: " + std::to_string(stream) + '\n' : "";
    text += game.empty() ? "" : "game: " + game + '\n';
    text += "estimate: " + estimate + '\n';
    if (stopped) {
        text += "interrupted after " + std::to_string(draws) + " draws, the tally so far:\n";
    }
    return text;
}

// What is under it: the chi-square and the rows pooled for it, named by `pooled`.
std::string StatsText(const std::optional<Significance>& stats, bool asked,
                      const std::function<std::string(const ClassGroup&)>& pooled,
                      std::string_view separator) {
    if (!stats) {
        return asked ? "statistics: nothing drawn, nothing to test\n" : "";
    }
    std::string text = ChiSquareSummary(*stats, separator) + '\n';
    for (const ClassGroup& group : stats->groups) {
        if (stats->chiSquare && group.first != group.last) {
            text += "  " + pooled(group) + " pooled: expected counts under 5 (together " +
                    WithSeparator(Printf("%.4g", group.expected), separator) + ")\n";
        }
    }
    return text;
}

// The last line: the draws, their time and rate.
std::string DrawsText(std::uint64_t draws, double seconds, std::string_view separator) {
    const double rate = seconds > 0 ? static_cast<double>(draws) / seconds : 0.0;
    return "draws: " + std::to_string(draws) + " in " +
           WithSeparator(Printf("%.3f", seconds), separator) + " s (" + Printf("%.0f", rate) +
           " draws/s)\n";
}

// The names of the first and last tier of a pooled group.
std::string GroupName(const GameFigures& figures, const ClassGroup& group) {
    const auto name = [&](int i) {
        return TierName(figures.tiers[static_cast<std::size_t>(i)].tier);
    };
    return group.first == group.last ? name(group.first)
                                     : name(group.first) + " to " + name(group.last);
}

std::string Pattern(std::optional<double> value, std::string_view pattern,
                    std::string_view separator) {
    return value ? FormatPattern(*value, pattern, separator) : "";
}

// The lines under the table: the money, any prize's wait and the tier drawn until.
std::string PlayText(const GameFigures& figures, std::string_view separator) {
    const Play& play = figures.play;
    std::ostringstream out;
    if (play.money) {
        const MoneyLaw& law = *play.money;
        const MoneyFigures& money = *figures.money;
        out << "ticket: " << AmountText(law.cost, separator) << " a draw";
        if (law.cost != law.price) {
            out << " (" << AmountText(law.price, separator) << " a combination)";
        }
        out << "; spent " << AmountText(money.spent, separator) << ", won "
            << AmountText(money.won, separator) << ", net "
            << AmountText(money.won - money.spent, separator) << '\n';
        // The net's digits are the return's: the cost is exact.
        const double expectedReturn = law.expectedReturn / 100;
        out << "expected a draw: return " << Fixed(expectedReturn, 4, separator) << ", net "
            << Fixed(law.expectedNet() / 100, 4, separator, std::fabs(expectedReturn) * 1e-15L)
            << (law.returnRate()
                    ? ", return rate " + Shown(law.returnRate(), "%.2f", separator) + " %"
                    : std::string(", no return rate (the ticket costs nothing)"))
            << "; the winnings' z-score " << Shown(money.z, "%.3f", separator) << '\n';
        if (const std::optional<SharedPlay>& shared = play.shared) {
            out << "shared with the other winners and taxed: return "
                << Fixed(shared->law.expectedReturn / 100, 4, separator) << " a draw, return rate "
                << Shown(shared->law.returnRate(), "%.2f", separator)
                << " %; a ticket breaks even from a jackpot of "
                << (shared->breakEven ? Fixed(*shared->breakEven / 100, 2, separator)
                                      : "none (never: sharing grows faster than the jackpot)")
                << (shared->bestJackpot ? ", its net highest at a jackpot of " +
                                              Fixed(*shared->bestJackpot / 100, 2, separator)
                                        : std::string(", its net rising with the jackpot"))
                << "\nby tier, a draw's expected payout shared and taxed (as advertised):";
            for (const TierFigures& row : figures.tiers) {
                const auto tier = static_cast<std::size_t>(row.tier.index);
                if (law.payouts[tier] > 0) {
                    const double p = row.tier.probability / 100;
                    out << ' ' << TierName(row.tier) << ' '
                        << Fixed(p * static_cast<double>(shared->law.payouts[tier]), 4, separator)
                        << " (" << Fixed(p * static_cast<double>(law.payouts[tier]), 4, separator)
                        << ')';
                }
            }
            out << '\n';
        }
        if (money.topTier) {
            out << "the rarest paying tier, " << *money.topTier << ", carries "
                << Shown(law.topTierVarianceShare().value_or(NAN) * 100, "%.2f", separator)
                << " % of the winnings' variance; without it, their z-score is "
                << Shown(money.zBelowTop, "%.3f", separator) << '\n';
        }
        const AnyPrize& any = *figures.anyPrize;
        out << "any prize: mean wait " << Fixed(any.meanWait, 2, separator) << " draws";
        if (play.drawsPerWeek) {
            out << " (" << Fixed(any.meanWaitYears, 2, separator) << " years)";
        }
        out << ", first hit "
            << (any.firstHit != 0 ? "at draw " + std::to_string(any.firstHit) : "none") << '\n';
    }
    if (play.until) {
        const std::optional<std::uint64_t>& hit = figures.report.untilHit;
        out << "until " << *play.until << ": "
            << (hit ? "hit at draw " + std::to_string(*hit)
                    : "not hit in " + std::to_string(figures.report.drawsDone) + " draws")
            << '\n';
    }
    return out.str();
}

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
            notes += "pairs" + pool + "X\u00b2 of the " +
                     std::to_string(static_cast<int>(Choose(n, 2))) + " pairs against " + law +
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

// A fault of a bias, as the power lines say it.
std::string FaultOf(Fault fault, double bias) {
    // Whole per cent, up: the smallest bias flagged nine times in ten is never said smaller.
    const std::string percent = Printf("%.0f %%", std::ceil(bias * 100 - 1e-9));
    switch (fault) {
        case Fault::kHeavyNumber:
            return "a number " + percent + " more likely";
        case Fault::kGluedPair:
            return "a pair glued in " + percent + " of its draws";
        case Fault::kRepeat:
        case Fault::kNone:
            break;
    }
    return "a number of the draw before repeated in " + percent + " of the draws";
}

// A line a fault: how often the family would have flagged it at a bias of a tenth, and from which
// bias nine times in ten.
std::string PowerText(const AuditReport& report) {
    std::string text;
    for (const FaultPower& power : report.power) {
        text += "with " + std::to_string(report.draws) + " draws, " + FaultOf(power.fault, 0.1) +
                " would have been flagged " + Printf("%.0f", power.flagged * 100) +
                " % of the time; " +
                (power.bias90 ? "90 % from " + FaultOf(power.fault, *power.bias90)
                              : "not 90 % at any bias") +
                "\n";
    }
    return text;
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

}  // namespace

// Why the pools of an audit are guessed, and what they are guessed to be.
std::string GuessText(const Game& game) {
    std::string guess = "no --game: K = " + std::to_string(game.main.drawn) +
                        ", the columns, and N = " + std::to_string(game.main.top) +
                        ", the greatest number seen, are guessed";
    if (game.hasSecond()) {
        guess += ", and so are the second pool's " + std::to_string(game.second.drawn) + " of " +
                 std::to_string(game.second.top);
    }
    return guess;
}

std::string ToText(const std::vector<AuditReport>& periods, std::string_view separator) {
    std::string text = "the rules change inside the history: " + std::to_string(periods.size()) +
                       " periods, each audited as a game of its own";
    for (std::size_t p = 0; p < periods.size(); ++p) {
        const AuditPeriod& period = *periods[p].period;
        text += "\n\nperiod " + std::to_string(p + 1) + ": from " + period.from + " to " +
                period.to + "\n" + ToText(periods[p], separator);
    }
    return text;
}

std::string ToText(const PrintedCommand& printed, std::string_view separator) {
    const SimulateReport& report = printed.report;
    const std::optional<Significance>& stats = printed.stats;
    std::ostringstream out;
    out << Heading(printed.stream, "", report.estimateText, report.stopped(), report.drawsDone);
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
    const auto pooled = [](const ClassGroup& group) {
        return "k = " + std::to_string(group.first) + " to " + std::to_string(group.last);
    };
    out << StatsText(stats, printed.statsAsked, pooled, separator);
    out << DrawsText(report.drawsDone, report.drawSeconds, separator);
    return out.str();
}

std::string ToText(const PrintedGame& printed, std::string_view separator) {
    const GameFigures& figures = printed.figures;
    const GameReport& report = figures.report;
    const std::optional<Significance>& stats = figures.stats;
    std::ostringstream out;
    out << Heading(printed.stream, GameName(figures.rule.game), report.estimateText, report.stopped,
                   report.drawsDone);
    out << " tier" << PadLeft("observed", 17) << PadLeft("expected", 20)
        << PadLeft("deviation %", 16) << (stats ? PadLeft("z", 10) + PadLeft("p", 12) : "")
        << (figures.play.waits
                ? PadLeft("mean wait", 16) + PadLeft("years", 12) + PadLeft("first hit", 12)
                : "")
        << '\n';
    for (std::size_t i = 0; i < figures.tiers.size(); ++i) {
        const TierFigures& row = figures.tiers[i];
        const std::string name = TierName(row.tier);
        const std::string count =
            figures.unreadable ? "" : CountToText(static_cast<double>(row.count), ".");
        out << ' ' << name << PadLeft(count, 21 - name.size())
            << PadLeft(Pattern(row.expected, kExpectedPattern, separator), 20)
            << PadLeft(Pattern(row.deviation, kDeviationPattern, separator), 16);
        if (stats) {
            out << PadLeft(Shown(stats->z[i], "%.3f", separator), 10)
                << PadLeft(Shown(stats->p[i], "%.4g", separator), 12);
        }
        if (figures.play.waits) {
            out << PadLeft(Shown(row.meanWait, "%.6g", separator), 16)
                << PadLeft(Shown(row.meanWaitYears, "%.4g", separator), 12)
                << PadLeft(row.firstHit != 0 ? std::to_string(row.firstHit) : "-", 12);
        }
        out << '\n';
    }
    const auto pooled = [&figures](const ClassGroup& group) {
        return "tiers " + GroupName(figures, group);
    };
    out << StatsText(stats, figures.statsAsked, pooled, separator);
    out << PlayText(figures, separator);
    out << DrawsText(report.drawsDone, report.drawSeconds, separator);
    return out.str();
}

std::string WaitsText(const std::string& tier, const WaitsSample& sample, const WaitsTest& test,
                      std::string_view separator) {
    const auto figure = [separator](std::optional<double> value) {
        return Fixed(value, 2, separator);
    };
    std::ostringstream out;
    out << "waits for " << tier << ": " << sample.count() << " commands, " << sample.censored
        << " reached the bound of " << sample.bound << " draws\n";
    out << "  mean " << figure(test.mean) << " (law " << figure(test.lawMean);
    if (test.lawMeanBelowBound) {
        out << "; " << figure(test.lawMeanBelowBound) << " for the waits within the bound";
    }
    out << "), median " << figure(test.median) << " (law " << figure(test.lawMedian) << ")\n";
    out << "  against the geometric law: " << WaitsChiSquare(test, separator) << '\n';
    return out.str();
}

std::string LifetimesText(const Lifetimes::Summary& summary, std::string_view separator) {
    const auto figure = [separator](double cents) { return Fixed(cents / 100, 2, separator); };
    std::ostringstream out;
    out << "lifetimes: " << summary.lifetimes << ", "
        << WithSeparator(Printf("%.2f", summary.ahead * 100), separator) << " % ended ahead\n";
    out << "  net: median " << AmountText(summary.median, separator) << ", 1st percentile "
        << AmountText(summary.p01, separator) << ", 99th percentile "
        << AmountText(summary.p99, separator) << '\n';
    out << "  net: mean " << figure(summary.mean) << " (exact " << figure(summary.expectedNet)
        << "), standard deviation " << figure(summary.sd) << " (exact "
        << figure(summary.expectedSd) << ")\n";
    return out.str();
}

std::string RoundsText(const Rounds& rounds, std::string_view separator) {
    const RoundsFigures figures = FigureRounds(rounds);
    const auto units = [&](std::optional<double> cents) {
        return cents ? Fixed(*cents / 100, 2, separator) : std::string("-");
    };
    std::ostringstream out;
    out << "rounds: " << rounds.draws << " draws of the whole lottery"
        << (rounds.stopped ? " (interrupted)" : "") << '\n';
    out << "  jackpot won " << rounds.jackpotWins << " times (median " << units(figures.median)
        << ", 1st percentile " << units(figures.p1) << ", 99th " << units(figures.p99)
        << "), rolled down " << rounds.rolledDown << " times\n";
    out << "  draws from a jackpot's start to its end: mean "
        << (figures.meanCycle ? Fixed(*figures.meanCycle, 2, separator) : std::string("-"))
        << " (law " << Fixed(rounds.lawMeanCycle, 2, separator) << ")\n";
    out << "  the ticket, shared and taxed: spent " << Fixed(rounds.spent / 100, 2, separator)
        << ", won " << Fixed(rounds.won / 100, 2, separator) << ", net "
        << Fixed((rounds.won - rounds.spent) / 100, 2, separator) << '\n';
    return out.str();
}

std::string ToText(const AuditReport& report, std::string_view separator) {
    std::ostringstream out;
    out << "audit of " << report.source << ": " << report.draws << " draws of "
        << GameName(report.game) << '\n';
    if (report.guessed) {
        out << "warning: " << GuessText(report.game) << '\n';
    }
    if (report.ticket) {
        out << "ticket: " << TicketText(*report.ticket) << '\n';
    }
    if (report.repeated > 0) {
        out << report.repeated << (report.repeated == 1 ? " draw was" : " draws were")
            << " in two files (the same date and numbers): counted once\n";
    }
    if (!report.setAside.empty()) {
        out << "set aside: " << report.setAside.size() << '\n';
        for (const BadLine& bad : report.setAside) {
            out << "  " << (bad.file.empty() ? std::string() : Quoted(bad.file) + ": ")
                << report.lineWord << ' ' << bad.line << ": " << bad.reason << '\n';
        }
    }
    out << PadRight("test", kNameWidth) << PadRight("pool", 6) << PadLeft("statistic", 14)
        << PadLeft("df", 9) << PadLeft("p-value", 13) << PadLeft("Holm", 12) << '\n';
    for (const AuditEntry& entry : report.family) {
        out << Row(entry, separator);
    }
    out << Notes(report, separator) << Verdict(report, separator) << PowerText(report);
    return out.str();
}

}  // namespace loto
