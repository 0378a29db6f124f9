#include "panel/panel_words.h"

#include "platform/box_text.h"
#include "platform/french_numbers.h"
#include "platform/quoted_text.h"

namespace loto {
namespace {

// "N3" is the third main number, "S1" the first of the second pool.
std::string NumberName(const std::string& name) {
    const std::string place = name.substr(1);
    return "Le numéro " + place + (name.front() == 'S' ? " de la seconde grille" : " de la grille");
}

}  // namespace

std::string PanelRefusalText(const Refusal& refusal) {
    const std::string typed = Quoted(refusal.typed);
    const std::string number = std::to_string(refusal.number);
    switch (refusal.why) {
        case Refused::NotAGame:
            return "Jeu : " + typed +
                   " n'est pas un jeu : K/N, puis +bonus, puis +M/Q, avec 1 <= K < N <= 99 et "
                   "1 <= M < Q <= 99.";
        case Refused::SecondPoolMissing:
            return "Ce jeu a une seconde grille : tapez ses numéros.";
        case Refused::NoSecondPool:
            return "Ce jeu n'a pas de seconde grille : laissez ses numéros vides.";
        case Refused::PoolSize:
            return (refusal.second ? "La seconde grille a de 1 à " : "La grille a de 1 à ") +
                   number + " numéros, pas " + std::to_string(refusal.count) + ".";
        case Refused::BeyondNumbers:
            return NumberName(refusal.name) + ", " + typed + ", est au-delà des nombres.";
        case Refused::OutsidePool:
            return NumberName(refusal.name) + ", " + typed + ", n'est pas de 1 à " + number + ".";
        case Refused::HeldAlready:
            return NumberName(refusal.name) + ", " + typed + ", donne " + number +
                   " une fois arrondi, que la grille a déjà.";
        case Refused::NotTierAmount:
            return "Gains : " + typed + " n'est pas RANG=MONTANT.";
        case Refused::NotAnAmount:
            return "Gains : " + typed +
                   " n'est pas un montant : des chiffres, puis au plus deux décimales, jusqu'à "
                   "10^16.";
        case Refused::NotATier:
            return "Gains : " + typed + " n'est pas un rang d'une grille de " +
                   std::to_string(refusal.count) + " numéros au " + refusal.game + ".";
        case Refused::TierTwice:
            return "Gains : le rang " + typed + " est donné deux fois.";
        case Refused::NothingPays:
            return "Rang visé « tout » : aucun rang de la grille n'a de gain.";
        case Refused::UntilNotATier:
            return "Rang visé : " + typed + " n'est pas un rang de cette grille au " +
                   refusal.game + ".";
        case Refused::TooMuchMoney:
            return "Un tirage de cette grille pourrait coûter ou rapporter plus de 10^16 : trop "
                   "pour compter au centime.";
    }
    return {};
}

std::string PriceRefusalText(std::string_view typed) {
    return "Prix : " + Quoted(BoxText(typed)) +
           " n'est pas un montant : des chiffres, puis au plus deux décimales, jusqu'à 10^16.";
}

std::string DrawsPerWeekRefusalText(std::string_view typed) {
    return "Tirages par semaine : " + Quoted(BoxText(typed)) +
           " n'est pas un nombre de 0,001 (un tirage en mille semaines, qui garde les années "
           "finies) à 10000.";
}

std::string DrawsRefusalText(std::string_view typed) {
    return "Nombre de tirages : " + Quoted(BoxText(typed)) + " est au-delà des nombres.";
}

std::string UntilMissingText() {
    return "Rang visé : tapez un rang de la grille (3, 5+b, 5+2...) ou « tout ».";
}

std::string CountRefusalText(PanelCount box, std::string_view typed) {
    return std::string(box == PanelCount::Repeats ? "Répétitions : " : "Vies : ") +
           Quoted(BoxText(typed)) + " n'est pas un nombre entier de 1 à " +
           FrenchCount(kMostPanelRuns) + ".";
}

std::string LifetimesWithoutMoneyText() {
    return "Vies : chaque vie compte son net ; donnez un prix ou des gains.";
}

std::string NoSuchRulesText(std::string_view file) {
    return "Règles : " + Quoted(file) + " n'est pas un des exemples.";
}

std::string RulesOfAnotherGameText(const Game& rules, const Game& typed) {
    return "Jeu : les règles choisies sont du " + GameName(rules) + ", pas du " + GameName(typed) +
           ".";
}

std::string RulesChoiceText(std::string_view file, const LotteryRules& rules) {
    const std::string_view stem = file.substr(0, file.rfind(".json"));
    return std::string(stem) + " (" + rules.asOf + ")";
}

std::string PanelDrawingText(bool inSpeedTest, const std::string& estimate,
                             std::pair<int, int> repetition) {
    if (inSpeedTest) {
        return "Test de vitesse...";
    }
    const auto [at, of] = repetition;
    const std::string drawing =
        of > 1 ? std::to_string(at) + " sur " + std::to_string(of) + " : tirages en cours"
               : "Tirages en cours";
    return estimate.empty() ? drawing + "..." : drawing + ", fin prévue : " + estimate + ".";
}

std::string PanelEndText(const PanelShown& shown) {
    if (!shown.refusal.empty()) {
        return "Rien n'a été tiré.";
    }
    const GameReport& report = shown.figures.report;
    const std::optional<std::string>& until = shown.figures.play.until;
    const std::string draws = FrenchCount(report.drawsDone);
    if (report.stopped) {
        return "Arrêté après " + draws + " tirages.";
    }
    if (shown.commands > 1) {
        return "Terminé : " + std::to_string(shown.commands) +
               (shown.lives ? " vies de " + draws + " tirages."
                            : " répétitions jusqu’au rang " + *until + ".");
    }
    if (until) {
        return report.untilHit ? "Rang " + *until + " atteint au tirage " + draws + "."
                               : "Rang " + *until + " pas atteint en " + draws + " tirages.";
    }
    return "Terminé : " + draws + " tirages.";
}

std::string ChartAlternativeText(const PanelShown& shown) {
    const std::string game = GameName(shown.figures.rule.game);
    if (shown.waits) {
        return "Graphique : les attentes des " + std::to_string(shown.commands) +
               " répétitions jusqu’au rang " + *shown.figures.play.until + " du " + game +
               ", par classe, contre celles de la loi géométrique, et le khi-deux sous le "
               "graphique.";
    }
    if (shown.chartRuns == 1) {
        return "Graphique : pour chaque rang du " + game +
               ", les tirages observés et attendus (échelle logarithmique), chaque attendu avec "
               "l’intervalle à 95 % de sa loi binomiale exacte, et le khi-deux sous le graphique.";
    }
    return "Graphique : l’écart en pour cent de chaque rang du " + game +
           " selon le nombre de tirages cumulés des " + std::to_string(shown.chartRuns) +
           " lancers de ce jeu (échelle logarithmique), dans ses entonnoirs à 95 %, et le "
           "khi-deux de tous les tirages sous le graphique.";
}

}  // namespace loto
