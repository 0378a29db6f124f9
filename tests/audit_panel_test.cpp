// The page's audit of a file without the page: the columns it offers, and why a file cannot be
// audited, said in French with the line at fault.
#include "panel/audit_panel.h"

#include <gtest/gtest.h>

#include "audit/generator_history.h"
#include "core/random_source.h"
#include "panel/audit_words.h"

namespace loto {
namespace {

class IdlePump final : public EventPump {
public:
    bool ProcessEvents(const DrawProgress&) override { return calls++ < stopAfter; }
    int calls = 0;
    int stopAfter = 1 << 30;
};

// A dated 6/49 history written as a French file: its numbers, then a machine's column.
std::string DatedFile(std::uint64_t draws) {
    const History history = GeneratorHistory(kSixOfFortyNine, kSeedState, draws);
    std::string text = "Date tirage;B1;B2;B3;B4;B5;B6;Machine\n";
    for (std::size_t t = 0; t < draws; ++t) {
        text += "2019-01-" + std::to_string(10 + t % 20) + ";";
        for (const std::uint8_t number : history.main.Draw(t)) {
            text += std::to_string(number) + ";";
        }
        text += "Stresa\n";
    }
    return text;
}

TEST(AuditPanel, OffersTheColumnsAndGuessesTheGame) {
    const AuditHead head = ReadAuditHead(DatedFile(20));
    EXPECT_EQ(head.refusal, "");
    EXPECT_EQ(head.columns, (std::vector<std::string>{"Date tirage", "B1", "B2", "B3", "B4", "B5",
                                                      "B6", "Machine"}));
    EXPECT_EQ(head.main, (std::vector<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(head.date, 1);
    EXPECT_EQ(head.game.substr(0, 2), "6/");  // N: the greatest number of 20 draws
    EXPECT_EQ(ReadAuditHead("").refusal, "Le fichier est vide.");
    EXPECT_EQ(ReadAuditHead("\n ;;\n").refusal,
              "Le fichier n'a pas de ligne d'en-tête qui se lise.");
}

// Each refusal in French, what the file holds quoted as it is.
TEST(AuditPanel, RefusesInFrenchWithTheLine) {
    const std::vector<std::pair<AuditFields, std::string>> rows = {
        {{.name = "a.csv", .text = "N1,N2,N3\n1,2,7.5\n", .main = {1, 2, 3}},
         "Ligne 2 : \"7.5\" n'est pas un nombre entier."},
        {{.name = "a.csv", .text = "N1,N2,N3\n1,2,3\n1,2,2\n", .main = {1, 2, 3}},
         "Ligne 3 : 2 est répété."},
        {{.name = "a.csv", .text = "N1,N2,N3\n1,2,\n", .main = {1, 2, 3}},
         "Ligne 2 : la colonne N3 est vide."},
        {{.name = "a.csv", .text = "D,N1\nx is empty,4\n", .main = {2}, .date = 1},
         "Ligne 2 : \"x is empty\" n'est pas une date."},
        {{.name = "a.csv", .text = "N1,N2\n1,\"2\n", .main = {1, 2}},
         "Ligne 2 : un guillemet n'est pas fermé."},
        {{.name = "a.csv", .text = "N1,N2\n1,2\n", .main = {1, 2}, .game = "6/100"},
         "Jeu : \"6/100\" n'est pas un jeu : K/N, puis +bonus, puis +M/Q, avec 1 <= K < N <= 99 "
         "et 1 <= M < Q <= 99."},
        {{.name = "a.csv", .text = "N1,N2\n1,2\n"}, "Numéros : choisissez au moins une colonne."},
        {{.name = "a.csv", .text = "N1,N2\n", .main = {1, 2}}, "Il n'y a aucun tirage à vérifier."},
        {{.name = "a.csv", .text = "N1,N2\n1,2\n2,1\n", .main = {1, 2}},
         "Chaque tirage contient chaque numéro de 1 à 2 : aucun test ne peut distinguer des "
         "tirages équitables d'autres."},
    };
    IdlePump pump;
    for (const auto& [fields, refusal] : rows) {
        EXPECT_EQ(RunAuditPanel(fields, pump).refusal, refusal) << fields.text;
    }
}

// An audit whose calibration the pump stops shows nothing; one that goes on shows its family, its
// chart and its JSON, and says it in French.
TEST(AuditPanel, AuditsOrStops) {
    const AuditFields fields{.name = "h.csv",
                             .text = DatedFile(300),
                             .main = {2, 3, 4, 5, 6, 7},
                             .date = 1,
                             .game = "6/49"};
    IdlePump stop;
    stop.stopAfter = 1;
    const AuditShown stopped = RunAuditPanel(fields, stop);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_TRUE(stopped.reports.empty());
    IdlePump goesOn;
    const AuditShown shown = RunAuditPanel(fields, goesOn);
    ASSERT_EQ(shown.reports.size(), 1U);
    EXPECT_GE(goesOn.calls, 2);  // a slice of 582 histories, then the rest
    EXPECT_EQ(shown.reports[0].draws, 300U);
    EXPECT_TRUE(shown.svg.starts_with("<svg"));
    EXPECT_TRUE(shown.json.ends_with("}\n"));
    EXPECT_TRUE(AuditSentenceText(shown.reports[0])
                    .starts_with("Ajustement de Holm des 9 valeurs p au seuil de 1 % : rien "
                                 "n'est improbable"));
}

// What is unlikely at the level, in the singular and the plural.
TEST(AuditWords, SaysWhatIsUnlikely) {
    AuditReport report{.source = "", .game = kSixOfFortyNine, .draws = 500};
    const auto entry = [](const char* name, double holm) {
        return AuditEntry{.test = {name, 0, std::nullopt, holm}, .holm = holm};
    };
    report.family = {entry("gaps", 0.004), entry("odd", 0.5)};
    const std::string start = "Ajustement de Holm des 2 valeurs p au seuil de 1 % : ";
    EXPECT_EQ(AuditSentenceText(report),
              start +
                  "écarts (principale, p de Holm 0,004) est improbable pour des tirages "
                  "équitables ; ce n'est pas la probabilité que les tirages soient faussés, ni "
                  "la taille d'un défaut ni sa place.");
    report.family[1].holm = 0.0012;
    EXPECT_TRUE(AuditSentenceText(report).starts_with(
        start +
        "écarts (principale, p de Holm 0,004), impairs (principale, p de Holm 0,0012) "
        "sont improbables"));
}

TEST(AuditWords, NamesTheTestsInFrench) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"numbers", "numéros"},
        {"numbers extreme", "numéros extrêmes"},
        {"pairs extreme", "paires extrêmes"},
        {"gaps", "écarts"},
        {"numbers by Machine", "numéros par Machine"},
        {"numbers Stresa", "numéros Stresa"},
        {"stream overlap", "chevauchement des flux"}};
    for (const auto& [english, french] : names) {
        EXPECT_EQ(TestNameText(english), french);
    }
}

}  // namespace
}  // namespace loto
