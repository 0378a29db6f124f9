#include "panel/panel_table.h"

#include <optional>

#include "platform/french_numbers.h"

namespace loto {
namespace {

constexpr FrenchDigits kTwoPlaces{.minFraction = 2, .maxFraction = 2};
constexpr FrenchDigits kSixFigures{.maxSignificant = 6};

// A figure and its unit, "-" where there is none.
PanelCell Figure(std::optional<double> value, FrenchDigits digits, const std::string& unit = "") {
    if (!value) {
        return {"-", {}};
    }
    return {FrenchNumber(*value, digits) + unit, *value};
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

PanelRow TierRow(const TierFigures& row) {
    const std::string name = TierName(row.tier);
    return {{name, name},
            Count(row.count),
            Figure(row.expected, kTwoPlaces),
            Figure(row.deviation, kTwoPlaces, " %"),
            Figure(row.meanWait, kSixFigures, " tirages"),
            Figure(row.meanWaitYears, kSixFigures, " ans"),
            Draw(row.firstHit, "", "jamais")};
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

}  // namespace

PanelTable MakePanelTable(const GameFigures& figures) {
    PanelTable table;
    for (const TierFigures& row : figures.tiers) {
        table.tiers.push_back(TierRow(row));
    }
    if (figures.money) {
        table.lines = MoneyLines(*figures.play.money, *figures.money, *figures.anyPrize);
    }
    if (const std::optional<std::string>& until = figures.play.until) {
        const std::optional<std::uint64_t>& hit = figures.report.untilHit;
        table.lines.push_back({"Jusqu’au rang " + *until,
                               hit ? Count(*hit, "au tirage ") : PanelCell{"pas atteint", {}}});
    }
    return table;
}

}  // namespace loto
