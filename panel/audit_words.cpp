#include "panel/audit_words.h"

#include <array>
#include <utility>

#include "panel/panel_words.h"
#include "platform/french_numbers.h"

namespace loto {
namespace {

// The reader's words and theirs in French, longest first where one holds another. What it quotes
// of the file stands between double quotes and is never translated.
constexpr std::array<std::pair<std::string_view, std::string_view>, 22> kReasons{{
    {" is not a whole number", " n'est pas un nombre entier"},
    {" has a sign", " a un signe"},
    {" is out of range 1 to ", " n'est pas de 1 à "},
    {"there is no column ", "il n'y a pas de colonne "},
    {": the header has ", " : l'en-tête en a "},
    {"no column named ", "aucune colonne ne s'appelle "},
    {"more than one column is named ", "plusieurs colonnes s'appellent "},
    {" is chosen twice", " est choisie deux fois"},
    {" is empty", " est vide"},
    {" is missing", " manque"},
    {" numbers, where a draw has ", " numéros, où un tirage en a "},
    {" holds ", " contient "},
    {" is repeated", " est répété"},
    {" is also a main number", " est aussi un numéro principal"},
    {" is not a date", " n'est pas une date"},
    {"a quote is not closed", "un guillemet n'est pas fermé"},
    {"text follows a closing quote", "du texte suit un guillemet fermant"},
    {"the line is longer than 1 MiB", "la ligne dépasse 1 Mio"},
    {"the input could not be read", "le fichier ne se lit pas"},
    {"there is no header line", "il n'y a pas de ligne d'en-tête"},
    {"column ", "la colonne "},
    {"bonus ", "le complémentaire "},
}};

std::string Translated(std::string_view words) {
    std::string french;
    while (!words.empty()) {
        bool found = false;
        for (const auto& [english, said] : kReasons) {
            if (words.starts_with(english)) {
                french += said;
                words.remove_prefix(english.size());
                found = true;
                break;
            }
        }
        if (!found) {
            french += words.front();
            words.remove_prefix(1);
        }
    }
    return french;
}

// The reason's words outside its quotes ("…", a backslash escaping within) in French.
std::string FrenchReason(std::string_view reason) {
    std::string french;
    std::size_t at = 0;
    while (at < reason.size()) {
        const std::size_t open = reason.find('"', at);
        french += Translated(reason.substr(at, open - at));
        if (open == std::string_view::npos) {
            break;
        }
        std::size_t close = open + 1;
        while (close < reason.size() && reason[close] != '"') {
            close += reason[close] == '\\' ? 2 : 1;
        }
        french += reason.substr(open, close + 1 - open);
        at = close + 1;
    }
    return french;
}

}  // namespace

std::string EmptyFileText() {
    return "Le fichier est vide.";
}

std::string NoHeaderText() {
    return "Le fichier n'a pas de ligne d'en-tête qui se lise.";
}

std::string NoMainColumnText() {
    return "Numéros : choisissez au moins une colonne.";
}

std::string AuditGameRefusalText(std::string_view typed) {
    return PanelRefusalText(Refusal{.why = Refused::NotAGame, .typed = std::string(typed)});
}

std::string BadLineText(const BadLine& bad) {
    std::string french = FrenchReason(bad.reason);
    if (bad.line == 0) {
        return "Le fichier ne se lit pas : " + french + ".";
    }
    return "Ligne " + std::to_string(bad.line) + " : " + french + ".";
}

std::string UntestableText(const UntestableHistory& why, std::size_t setAside) {
    switch (why.why) {
        case Untestable::NoDraw:
            return "Il n'y a aucun tirage à vérifier.";
        case Untestable::AllSetAside:
            return "Il n'y a aucun tirage à vérifier : les " + FrenchCount(setAside) +
                   " lignes sont écartées.";
        case Untestable::EveryNumber:
            break;
    }
    return "Chaque tirage contient chaque numéro de 1 à " + std::to_string(why.top) +
           " : aucun test ne peut distinguer des tirages équitables d'autres.";
}

std::string NoTestText(std::uint64_t draws) {
    return "Aucun test ne peut être formé de " + FrenchCount(draws) + " tirage" +
           (draws == 1 ? "." : "s.");
}

std::string TestNameText(const std::string& name) {
    static const std::array<std::pair<std::string_view, std::string_view>, 13> kNames{{
        {"numbers extreme", "numéros extrêmes"},
        {"pairs extreme", "paires extrêmes"},
        {"numbers by ", "numéros par "},
        {"numbers", "numéros"},
        {"pairs", "paires"},
        {"overlap", "répétitions d'un tirage à l'autre"},
        {"gaps", "écarts"},
        {"sums", "sommes"},
        {"odd", "impairs"},
        {"runs", "suites"},
        {"ticket", "grille"},
        {"stream overlap", "chevauchement des flux"},
        {"stream correlation", "corrélation des flux"},
    }};
    for (const auto& [english, french] : kNames) {
        if (name.starts_with(english)) {
            return std::string(french) + name.substr(english.size());
        }
    }
    return name;
}

std::string PoolText(AuditPool pool) {
    return pool == AuditPool::Main ? "principale" : "seconde";
}

std::string AuditSentenceText(const AuditReport& report) {
    const std::string level = FrenchNumber(report.alpha * 100, {.maxFraction = 4}) + " %";
    std::string unlikely;
    int flagged = 0;
    for (const AuditEntry& entry : report.family) {
        if (entry.holm < report.alpha) {
            unlikely += (flagged++ == 0 ? "" : ", ") + TestNameText(entry.test.name) + " (" +
                        PoolText(entry.pool) + ", p de Holm " +
                        FrenchNumber(entry.holm, {.maxSignificant = 3}) + ")";
        }
    }
    const std::string line = "Ajustement de Holm des " + std::to_string(report.family.size()) +
                             " valeurs p au seuil de " + level + " : ";
    if (unlikely.empty()) {
        return line +
               "rien n'est improbable pour des tirages équitables ; cela ne montre pas que les "
               "tirages le sont, seulement que ces tests n'ont trouvé aucun écart que " +
               FrenchCount(report.draws) + " tirages leur laissaient voir.";
    }
    return line + unlikely + (flagged == 1 ? " est improbable" : " sont improbables") +
           " pour des tirages équitables ; ce n'est pas la probabilité que les tirages soient "
           "faussés, ni la taille d'un défaut ni sa place.";
}

}  // namespace loto
