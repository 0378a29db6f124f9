#include "panel/panel_table.h"

#include <cmath>
#include <optional>

#include "platform/french_numbers.h"
#include "platform/printf.h"
#include "platform/text_to_number.h"

namespace loto {
namespace {

constexpr FrenchDigits kTwoPlaces{.minFraction = 2, .maxFraction = 2};
constexpr FrenchDigits kSixFigures{.maxSignificant = 6};
constexpr FrenchDigits kThreePlaces{.maxFraction = 3};
constexpr FrenchDigits kFourFigures{.maxSignificant = 4};

// A figure and its unit, "-" where there is none.
PanelCell Figure(std::optional<double> value, FrenchDigits digits, const std::string& unit = "") {
    if (!value) {
        return {"-", {}};
    }
    return {FrenchNumber(*value, digits) + unit, *value};
}

// A statistic, none where it is not a number (the z of a tier that is certain or impossible).
PanelCell Statistic(double value, FrenchDigits digits) {
    return Figure(std::isfinite(value) ? std::optional(value) : std::nullopt, digits);
}

// A probability to four figures; under 10^-4 as a power of ten, whose zeros would not fit a cell.
PanelCell Probability(double p) {
    if (!std::isfinite(p) || p == 0 || p >= 1e-4) {
        return Statistic(p, kFourFigures);
    }
    const std::string scientific = Printf("%.3e", p);  // "1.234e-07": rounded once, to 4 figures
    const std::size_t e = scientific.find('e');
    const double mantissa = TextToNumber(scientific.substr(0, e)).value_or(NAN);
    const double exponent = TextToNumber(scientific.substr(e + 1)).value_or(NAN);
    return {FrenchNumber(mantissa, kFourFigures) + " × 10^" + FrenchNumber(exponent, {}), p};
}

PanelCell Count(std::uint64_t count, const std::string& before = "") {
    return {before + FrenchCount(count), static_cast<double>(count)};
}

// A draw from 1, or "jamais" (none) for 0.
PanelCell Draw(std::uint64_t draw, const std::string& before, const std::string& never) {
    return draw == 0 ? PanelCell{never, {}} : Count(draw, before);
}

PanelCell Amount(Cents cents) {
    return {FrenchAmount(cents), AmountText(cents)};
}

PanelRow TierRow(const TierFigures& row, const std::optional<Significance>& stats, std::size_t i) {
    const std::string name = TierName(row.tier);
    return {{name, name},
            Count(row.count),
            Figure(row.expected, kTwoPlaces),
            Figure(row.deviation, kTwoPlaces, " %"),
            stats ? Statistic(stats->z[i], kThreePlaces) : Figure(std::nullopt, {}),
            stats ? Probability(stats->p[i]) : Figure(std::nullopt, {}),
            Figure(row.meanWait, kSixFigures, " tirages"),
            Figure(row.meanWaitYears, kSixFigures, " ans"),
            Draw(row.firstHit, "", "jamais")};
}

// The tiers' names from the first to the last of a group.
std::string GroupText(const GameFigures& figures, const ClassGroup& group) {
    const auto name = [&](int i) {
        return TierName(figures.tiers[static_cast<std::size_t>(i)].tier);
    };
    return name(group.first) + " à " + name(group.last);
}

// A chi-square, its freedom and p, or why there is none: `certain` where one class is possible.
std::vector<PanelLine> ChiSquareLines(const std::string& term, const Significance& stats,
                                      const std::string& certain) {
    const std::optional<ChiSquareTest>& test = stats.chiSquare;
    if (!test) {
        return {{term,
                 {stats.possible <= 1 ? certain + " : rien à tester"
                                      : "pas assez de tirages : toutes les classes regroupées",
                  {}}}};
    }
    return {{term, Statistic(test->statistic, kThreePlaces)},
            {"Degrés de liberté", Count(static_cast<std::uint64_t>(test->degreesOfFreedom))},
            {"p du khi-deux", Probability(test->pValue)}};
}

// The chi-square of the tiers and each group of tiers that it pools.
std::vector<PanelLine> StatsLines(const GameFigures& figures, const Significance& stats) {
    std::vector<PanelLine> lines = ChiSquareLines("Khi-deux", stats, "un seul rang possible");
    for (const ClassGroup& group : stats.groups) {
        if (stats.chiSquare && group.first != group.last) {
            lines.push_back({"Regroupés (attendus sous 5)",
                             {GroupText(figures, group) + " : " +
                                  FrenchNumber(group.expected, kFourFigures) + " attendus",
                              group.expected}});
        }
    }
    return lines;
}

// Draws, "-" for none.
PanelCell Draws(std::optional<double> draws) {
    return Figure(draws, kTwoPlaces, " tirages");
}

// The waits of repetitions until a tier against the geometric law.
std::vector<PanelLine> WaitsLines(const RunSummary::Waits& waits) {
    const WaitsTest& test = waits.test;
    std::vector<PanelLine> lines = {
        {"Répétitions", Count(waits.sample.count())},
        {"À la borne de " + FrenchCount(waits.sample.bound) + " tirages",
         Count(waits.sample.censored)},
        {"Attente moyenne", Draws(test.mean)},
        {"Selon la loi", Draws(test.lawMean)},
    };
    if (test.lawMeanBelowBound) {
        lines.push_back({"Selon la loi, sous la borne", Draws(test.lawMeanBelowBound)});
    }
    lines.push_back({"Attente médiane", Draws(test.median)});
    lines.push_back({"Médiane de la loi", Draws(test.lawMedian)});
    if (!test.chiSquare) {
        lines.push_back({"Khi-deux des attentes", {"aucune attente : rien à tester", {}}});
    } else {
        for (PanelLine& line : ChiSquareLines("Khi-deux des attentes", *test.chiSquare,
                                              "une seule classe possible")) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

// The nets of lifetimes of play, beside their exact law.
std::vector<PanelLine> LifetimesLines(const Lifetimes::Summary& lives) {
    const auto units = [](double cents) { return Figure(cents / 100, kTwoPlaces); };
    return {
        {"Vies", Count(lives.lifetimes)},
        {"Finies en gain", Figure(lives.ahead * 100, kTwoPlaces, " %")},
        {"Net médian", Amount(lives.median)},
        {"1er centile du net", Amount(lives.p01)},
        {"99e centile du net", Amount(lives.p99)},
        {"Net moyen", units(lives.mean)},
        {"Net moyen exact", units(lives.expectedNet)},
        {"Écart type du net", units(lives.sd)},
        {"Écart type exact", units(lives.expectedSd)},
    };
}

std::vector<PanelLine> MoneyLines(const MoneyLaw& law, const MoneyFigures& money,
                                  const AnyPrize& any) {
    return {
        {"Prix d'une combinaison", Amount(law.price)},
        {"Coût d'une grille", Amount(law.cost)},
        {"Dépensé", Amount(money.spent)},
        {"Gagné", Amount(money.won)},
        {"Net", Amount(money.won - money.spent)},
        {"Gain attendu par tirage", Figure(law.expectedReturn / 100, {.maxFraction = 4})},
        {"Net attendu par tirage", Figure(ExpectedNetUnits(law), {.maxFraction = 4})},
        {"Taux de retour", Figure(law.returnRate(), kTwoPlaces, " %")},
        {"Écart des gains (z)", Figure(money.z, {.maxFraction = 3})},
        {"Attente moyenne d’un gain", Figure(any.meanWait, kSixFigures, " tirages")},
        {"En années", Figure(any.meanWaitYears, kSixFigures, " ans")},
        {"Premier gain", Draw(any.firstHit, "au tirage ", "jamais")},
    };
}

// A lottery's rules: the money once its prizes are shared with the other winners and taxed.
std::vector<PanelLine> SharedLines(const SharedPlay& shared) {
    const auto jackpot = [](const std::optional<double>& cents, const std::string& none) {
        return cents ? Figure(*cents / 100, kTwoPlaces) : PanelCell{none, {}};
    };
    return {
        {"Gain attendu partagé et taxé",
         Figure(shared.law.expectedReturn / 100, {.maxFraction = 4})},
        {"Taux de retour partagé et taxé", Figure(shared.law.returnRate(), kTwoPlaces, " %")},
        {"Jackpot d’équilibre", jackpot(shared.breakEven, "jamais")},
        {"Net le plus haut au jackpot de", jackpot(shared.bestJackpot, "-")},
    };
}

}  // namespace

std::vector<PanelLine> SummaryLines(const PanelShown& shown) {
    if (shown.waits) {
        return WaitsLines(*shown.waits);
    }
    return shown.lifetimes ? LifetimesLines(*shown.lifetimes) : std::vector<PanelLine>{};
}

PanelTable MakePanelTable(const GameFigures& figures) {
    PanelTable table;
    for (std::size_t i = 0; i < figures.tiers.size(); ++i) {
        table.tiers.push_back(TierRow(figures.tiers[i], figures.stats, i));
    }
    if (figures.stats) {
        table.stats = StatsLines(figures, *figures.stats);
    }
    if (figures.money) {
        table.lines = MoneyLines(*figures.play.money, *figures.money, *figures.anyPrize);
        if (figures.play.shared) {
            const std::vector<PanelLine> shared = SharedLines(*figures.play.shared);
            table.lines.insert(table.lines.end(), shared.begin(), shared.end());
        }
    }
    if (const std::optional<std::string>& until = figures.play.until) {
        const std::optional<std::uint64_t>& hit = figures.report.untilHit;
        table.lines.push_back({"Jusqu’au rang " + *until,
                               hit ? Count(*hit, "au tirage ") : PanelCell{"pas atteint", {}}});
    }
    return table;
}

}  // namespace loto
