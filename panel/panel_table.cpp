#include "panel/panel_table.h"

#include <optional>

#include "platform/french_numbers.h"

namespace loto {
namespace {

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
            FigureCell(row.expected, kTwoPlaces),
            FigureCell(row.deviation, kTwoPlaces, " %"),
            stats ? StatisticCell(stats->z[i], kThreePlaces) : FigureCell(std::nullopt, {}),
            stats ? ProbabilityCell(stats->p[i]) : FigureCell(std::nullopt, {}),
            FigureCell(row.meanWait, kSixFigures, " tirages"),
            FigureCell(row.meanWaitYears, kSixFigures, " ans"),
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
    return {{term, StatisticCell(test->statistic, kThreePlaces)},
            {"Degrés de liberté", Count(static_cast<std::uint64_t>(test->degreesOfFreedom))},
            {"p du khi-deux", ProbabilityCell(test->pValue)}};
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
    return FigureCell(draws, kTwoPlaces, " tirages");
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
    const auto units = [](double cents) { return FigureCell(cents / 100, kTwoPlaces); };
    return {
        {"Vies", Count(lives.lifetimes)},
        {"Finies en gain", FigureCell(lives.ahead * 100, kTwoPlaces, " %")},
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
        {"Gain attendu par tirage", FigureCell(law.expectedReturn / 100, {.maxFraction = 4})},
        {"Net attendu par tirage", FigureCell(ExpectedNetUnits(law), {.maxFraction = 4})},
        {"Taux de retour", FigureCell(law.returnRate(), kTwoPlaces, " %")},
        {"Écart des gains (z)", FigureCell(money.z, {.maxFraction = 3})},
        {"Attente moyenne d’un gain", FigureCell(any.meanWait, kSixFigures, " tirages")},
        {"En années", FigureCell(any.meanWaitYears, kSixFigures, " ans")},
        {"Premier gain", Draw(any.firstHit, "au tirage ", "jamais")},
    };
}

// A lottery's rules: the money once its prizes are shared with the other winners and taxed.
std::vector<PanelLine> SharedLines(const SharedPlay& shared) {
    const auto jackpot = [](const std::optional<double>& cents, const std::string& none) {
        return cents ? FigureCell(*cents / 100, kTwoPlaces) : PanelCell{none, {}};
    };
    return {
        {"Gain attendu partagé et taxé",
         FigureCell(shared.law.expectedReturn / 100, {.maxFraction = 4})},
        {"Taux de retour partagé et taxé", FigureCell(shared.law.returnRate(), kTwoPlaces, " %")},
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
