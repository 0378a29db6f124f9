// The panel's table of a run, in French, each cell beside the value that it shows.
#include "panel/panel_table.h"

#include <gtest/gtest.h>

#include "tests/support/example_games.h"

namespace loto {
namespace {

TEST(PanelTable, SaysTheFiguresInFrench) {
    const DrawRule rule = test::Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6});
    PrizeTable prizes{.price = 220, .prizes = std::vector<Cents>(7)};
    prizes.prizes[3] = 1050;
    const GameReport report{.requested = 2e6,
                            .tally = {873000, 827000, 264000, 35000, 1900, 30, 0},
                            .drawsDone = 2000000,
                            .firstHit = {1, 2, 3, 17, 250, 6000, 0}};
    Play play{.waits = true, .money = MakeMoneyLaw(rule, prizes), .drawsPerWeek = 3};
    play.until = "6";
    const PanelTable table = MakePanelTable(FigureGame(rule, report, play, true));

    ASSERT_EQ(table.tiers.size(), 7U);
    const PanelRow& three = table.tiers[3];
    const std::vector<std::string> texts = {
        "3",      "35\u202F000",     "35\u202F300,81", "-0,85 %", "-1,615",
        "0,1066", "56,6559 tirages", "0,361936 ans",   "17"};
    ASSERT_EQ(three.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(three[i].text, texts[i]) << i;
    }
    EXPECT_EQ(std::get<std::string>(three[0].value), "3");
    EXPECT_EQ(std::get<double>(three[1].value), 35000);
    EXPECT_EQ(table.tiers[6][8].text, "jamais");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(table.tiers[6][8].value));
    // The chi-square over k = 0 to 4 and 5 with 6, whose expected count is under 5.
    const std::vector<std::pair<std::string, std::string>> stats = {
        {"Khi-deux", "9,209"},
        {"Degrés de liberté", "5"},
        {"p du khi-deux", "0,101"},
        {"Regroupés (attendus sous 5)", "5 à 6 : 37,04 attendus"}};
    ASSERT_EQ(table.stats.size(), stats.size());
    for (std::size_t i = 0; i < stats.size(); ++i) {
        EXPECT_EQ(table.stats[i].term, stats[i].first) << i;
        EXPECT_EQ(table.stats[i].cell.text, stats[i].second) << i;
    }

    const std::vector<std::pair<std::string, std::string>> lines = {
        {"Prix d'une combinaison", "2,20"},    {"Coût d'une grille", "2,20"},
        {"Dépensé", "4\u202F400\u202F000,00"}, {"Gagné", "367\u202F500,00"},
        {"Net", "-4\u202F032\u202F500,00"},    {"Gain attendu par tirage", "0,1853"},
        {"Net attendu par tirage", "-2,0147"}, {"Taux de retour", "8,42 %"},
        {"Écart des gains (z)", "-1,615"},     {"Attente moyenne d’un gain", "56,6559 tirages"},
        {"En années", "0,361936 ans"},         {"Premier gain", "au tirage 17"},
        {"Jusqu’au rang 6", "pas atteint"},
    };
    ASSERT_EQ(table.lines.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(table.lines[i].term, lines[i].first) << i;
        EXPECT_EQ(table.lines[i].cell.text, lines[i].second) << i;
    }
    EXPECT_EQ(std::get<std::string>(table.lines[4].cell.value), "-4032500.00");
    EXPECT_EQ(std::get<double>(table.lines[11].cell.value), 17);
}

// A p-value too small for four decimals as a power of ten, and a single possible tier.
TEST(PanelTable, SaysTinyProbabilitiesAndCertainTiers) {
    const DrawRule rule = test::Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6});
    const GameReport report{.requested = 1000,
                            .tally = {0, 0, 0, 0, 1000, 0, 0},
                            .drawsDone = 1000,
                            .firstHit = std::vector<std::uint64_t>(7)};
    const PanelTable table = MakePanelTable(FigureGame(rule, report, {}, true));
    EXPECT_EQ(table.tiers[3][5].text, "4,376 × 10^-8");
    EXPECT_EQ(table.tiers[4][5].text, "0");

    const DrawRule everyNumber = test::Ticket(Game{.main = {2, 3}}, {1, 2, 3});
    const GameReport certain{
        .requested = 10, .tally = {0, 0, 10}, .drawsDone = 10, .firstHit = {0, 0, 1}};
    const PanelTable one = MakePanelTable(FigureGame(everyNumber, certain, {}, true));
    ASSERT_EQ(one.tiers.size(), 1U);  // the only possible tier
    EXPECT_EQ(one.tiers[0][4].text, "-");
    ASSERT_EQ(one.stats.size(), 1U);
    EXPECT_EQ(one.stats[0].cell.text, "un seul rang possible : rien à tester");

    const GameReport single{.requested = 1,
                            .tally = {1, 0, 0, 0, 0, 0, 0},
                            .drawsDone = 1,
                            .firstHit = std::vector<std::uint64_t>(7)};
    const PanelTable few = MakePanelTable(FigureGame(rule, single, {}, true));
    ASSERT_EQ(few.stats.size(), 1U);
    EXPECT_EQ(few.stats[0].cell.text, "pas assez de tirages : toutes les classes regroupées");
}

// The summaries after several commands: the waits against their law, the lifetimes' nets in
// units (the summary counts in cents).
TEST(PanelTable, SaysTheSummariesInFrench) {
    PanelShown waits;
    const WaitsSample sample{
        .probability = 0.05, .bound = 100, .waits = {10, 20, 30}, .censored = 1};
    waits.waits = RunSummary::Waits{.sample = sample, .test = TestWaits(sample)};
    const std::vector<std::pair<std::string, std::string>> waitLines = {
        {"Répétitions", "4"},
        {"À la borne de 100 tirages", "1"},
        {"Attente moyenne", "20,00 tirages"},
        {"Selon la loi", "20,00 tirages"},
        {"Selon la loi, sous la borne", "19,40 tirages"},
        {"Attente médiane", "20,00 tirages"},
        {"Médiane de la loi", "14,00 tirages"},
        {"Khi-deux des attentes", "pas assez de tirages : toutes les classes regroupées"}};
    PanelShown lives;
    lives.lifetimes = Lifetimes::Summary{.lifetimes = 3,
                                         .ahead = 1.0 / 3,
                                         .median = -150,
                                         .p01 = -300,
                                         .p99 = 250,
                                         .mean = -6667,
                                         .sd = 27537.5,
                                         .expectedNet = -7000,
                                         .expectedSd = 30000};
    const std::vector<std::pair<std::string, std::string>> lifeLines = {
        {"Vies", "3"},
        {"Finies en gain", "33,33 %"},
        {"Net médian", "-1,50"},
        {"1er centile du net", "-3,00"},
        {"99e centile du net", "2,50"},
        {"Net moyen", "-66,67"},
        {"Net moyen exact", "-70,00"},
        {"Écart type du net", "275,38"},
        {"Écart type exact", "300,00"}};
    for (const auto& [shown, want] : {std::pair(waits, waitLines), std::pair(lives, lifeLines)}) {
        const std::vector<PanelLine> lines = SummaryLines(shown);
        ASSERT_EQ(lines.size(), want.size());
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(lines[i].term, want[i].first) << i;
            EXPECT_EQ(lines[i].cell.text, want[i].second) << i;
        }
    }
    EXPECT_TRUE(SummaryLines(PanelShown{}).empty());
}

TEST(PanelTable, ShowsDashesWhereARunHasNoFigure) {
    const DrawRule rule = test::Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6});
    const GameReport stopped{
        .requested = 1e6, .tally = {5, 4, 1, 0, 0, 0, 0}, .drawsDone = 10, .stopped = true};
    const PanelTable table = MakePanelTable(FigureGame(rule, stopped, {}, false));
    EXPECT_EQ(table.tiers[0][1].text, "5");
    for (const std::size_t column : {2, 3, 4, 5}) {
        EXPECT_EQ(table.tiers[0][column].text, "-") << column;
    }
    EXPECT_TRUE(table.lines.empty());
}

}  // namespace
}  // namespace loto
