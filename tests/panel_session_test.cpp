// The page's panel of any game, without the page: what it refuses of what was typed, and said in
// French; what it draws, as the engine draws the same game, ticket and tier from a fresh start.
#include "panel/panel_session.h"

#include <gtest/gtest.h>

#include "core/game_input.h"
#include "panel/example_rules.h"
#include "panel/panel_words.h"
#include "platform/fixed_run_time.h"
#include "tests/support/example_games.h"

namespace loto {
namespace {

class IdlePump final : public EventPump {
public:
    bool ProcessEvents(const DrawProgress&) override { return true; }
};

class PanelSessionTest : public testing::Test {
protected:
    PanelShown Run(const PanelFields& fields, PanelCommand command = PanelCommand::Run) {
        return panel_.Run(fields, command, pump_);
    }

    FixedRunTime runTime_{LocalDateTime{}, 0.001};
    IdlePump pump_;
    PanelSession panel_{runTime_, 2};
};

// "1 2 ... n".
std::string OneTo(int n) {
    std::string numbers;
    for (int i = 1; i <= n; ++i) {
        numbers += std::to_string(i) + ' ';
    }
    return numbers;
}

// The panel's default fields, a thousand draws, and the fields typed.
using Typed = std::vector<std::pair<std::string PanelFields::*, std::string>>;

PanelFields With(const Typed& typed) {
    PanelFields fields;
    fields.draws = "1000";
    for (const auto& [field, text] : typed) {
        fields.*field = text;
    }
    return fields;
}

// The refusal of a number of draws a week, as typed.
std::string WeeksRefused(const std::string& typed) {
    return "Tirages par semaine : \"" + typed +
           "\" n'est pas un nombre de 0,001 (un tirage en mille semaines, qui garde les années "
           "finies) à 10000.";
}

TEST_F(PanelSessionTest, RefusesWhatCannotBePlayedInFrench) {
    const std::vector<std::pair<Typed, std::string>> rows = {
        {{{&PanelFields::game, "6/100"}},
         "Jeu : \"6/100\" n'est pas un jeu : K/N, puis +bonus, puis +M/Q, avec 1 <= K < N <= 99 "
         "et 1 <= M < Q <= 99."},
        {{{&PanelFields::second, "3"}},
         "Ce jeu n'a pas de seconde grille : laissez ses numéros vides."},
        {{{&PanelFields::game, "5/50+2/12"}}, "La seconde grille a de 1 à 12 numéros, pas 0."},
        {{{&PanelFields::ticket, OneTo(50)}}, "La grille a de 1 à 49 numéros, pas 50."},
        {{{&PanelFields::ticket, "1 1e400"}},
         "Le numéro 2 de la grille, \"1e400\", est au-delà des nombres."},
        {{{&PanelFields::game, "5/50+2/12"}, {&PanelFields::second, "2 13"}},
         "Le numéro 2 de la seconde grille, \"13\", n'est pas de 1 à 12."},
        {{{&PanelFields::ticket, "7.6;8"}},
         "Le numéro 2 de la grille, \"8\", donne 8 une fois arrondi, que la grille a déjà."},
        {{{&PanelFields::price, "2.505"}},
         "Prix : \"2.505\" n'est pas un montant : des chiffres, puis au plus deux décimales, "
         "jusqu'à 10^16."},
        {{{&PanelFields::price, "2 3"}},
         "Prix : \"2 3\" n'est pas un montant : des chiffres, puis au plus deux décimales, "
         "jusqu'à 10^16."},
        {{{&PanelFields::prizes, "3=5 4"}}, "Gains : \"4\" n'est pas RANG=MONTANT."},
        {{{&PanelFields::prizes, "3=-5"}},
         "Gains : \"-5\" n'est pas un montant : des chiffres, puis au plus deux décimales, "
         "jusqu'à 10^16."},
        {{{&PanelFields::prizes, "7=5"}},
         "Gains : \"7\" n'est pas un rang d'une grille de 6 numéros au 6/49."},
        {{{&PanelFields::prizes, "3=5;3=6"}}, "Gains : le rang \"3\" est donné deux fois."},
        {{{&PanelFields::prizes, "6=99999999999999999"}},
         "Gains : \"99999999999999999\" n'est pas un montant : des chiffres, puis au plus deux "
         "décimales, jusqu'à 10^16."},
        {{{&PanelFields::drawsPerWeek, "0"}}, WeeksRefused("0")},
        {{{&PanelFields::drawsPerWeek, "1e-320"}}, WeeksRefused("1e-320")},
        {{{&PanelFields::drawsPerWeek, "10001"}}, WeeksRefused("10001")},
        {{{&PanelFields::drawsPerWeek, "10000,5"}}, WeeksRefused("10000,5")},
        {{{&PanelFields::drawsPerWeek, ","}}, WeeksRefused(",")},
        {{{&PanelFields::draws, "1e400"}},
         "Nombre de tirages : \"1e400\" est au-delà des nombres."},
    };
    for (const auto& [typed, message] : rows) {
        const PanelShown shown = Run(With(typed));
        EXPECT_EQ(shown.refusal, message) << typed.front().second;
        EXPECT_EQ(PanelEndText(shown), "Rien n'a été tiré.");
    }
    // Refused fields draw nothing: the next run starts where a fresh one does.
    const PanelShown first = Run(With({}));
    PanelSession fresh(runTime_, 1);
    EXPECT_EQ(fresh.Run(With({}), PanelCommand::Run, pump_).figures.report.tally,
              first.figures.report.tally);
}

TEST_F(PanelSessionTest, RefusesATierToDrawUntil) {
    const std::vector<std::pair<Typed, std::string>> rows = {
        {{{&PanelFields::until, " "}},
         "Rang visé : tapez un rang de la grille (3, 5+b, 5+2...) ou « tout »."},
        {{{&PanelFields::until, "3 4"}},
         "Rang visé : tapez un rang de la grille (3, 5+b, 5+2...) ou « tout »."},
        {{{&PanelFields::until, "tout"}},
         "Rang visé « tout » : aucun rang de la grille n'a de gain."},
        {{{&PanelFields::until, "5+b"}},
         "Rang visé : \"5+b\" n'est pas un rang de cette grille au 6/49."},
    };
    for (const auto& [typed, message] : rows) {
        EXPECT_EQ(Run(With(typed), PanelCommand::Until).refusal, message) << typed.front().second;
    }
    // A run as SIMULER runs reads no tier.
    EXPECT_EQ(Run(With(rows[0].first)).refusal, "");
}

// The same draws as the engine's session of the same game and ticket, the money and the draws a
// week read with a decimal comma, the numbers between commas and semicolons.
TEST_F(PanelSessionTest, DrawsAsTheEnginesSession) {
    PanelFields fields;
    fields.game = "5/50+2/12";
    fields.ticket = "3,14;25 36\t47";
    fields.second = "2,9";
    fields.draws = "20 000";
    fields.price = " 2,50 ";
    fields.prizes = "5+2=17000000 2+1=8,40;3+0=10";
    fields.drawsPerWeek = "2,5";
    const PanelShown shown = Run(fields);
    ASSERT_EQ(shown.refusal, "");
    const ReadGame game = ParseGame("5/50+2/12");
    const std::vector<std::string_view> ticket = {"3", "14", "25", "36", "47", "+", "2", "9"};
    const DrawRule rule = *ParseTicket(*game.game, ticket).rule;
    GameSession session(runTime_, 1);
    const GameReport want =
        session.Simulate({.requested = 20000, .rule = rule, .firstHits = true}, pump_);
    const GameFigures& figures = shown.figures;
    EXPECT_EQ(figures.report.tally, want.tally);
    EXPECT_EQ(figures.report.firstHit, want.firstHit);
    EXPECT_EQ(figures.tiers.size(), Tiers(rule, want.tally).size());
    ASSERT_TRUE(figures.play.money);
    EXPECT_EQ(figures.play.money->price, 250);
    EXPECT_EQ(figures.play.money->payouts[static_cast<std::size_t>(rule.TierIndex(2, false, 1))],
              840);
    EXPECT_EQ(figures.play.drawsPerWeek, 2.5);
    EXPECT_EQ(PanelEndText(shown), "Terminé : 20\u202F000 tirages.");

    // Then until a tier, with no speed test, on from where the run ended, as the session goes on.
    fields.until = "3+0";
    const PanelShown until = Run(fields, PanelCommand::Until);
    const GameReport next = session.Simulate({.requested = 20000,
                                              .rule = rule,
                                              .speedTest = false,
                                              .firstHits = true,
                                              .until = {rule.TierIndex(3, false, 0)}},
                                             pump_);
    EXPECT_EQ(until.figures.report.untilHit, next.untilHit);
    EXPECT_EQ(until.figures.report.tally, next.tally);
    EXPECT_EQ(until.figures.report.estimateText, "");
    ASSERT_LT(*next.untilHit, 1000U);  // a tier of one draw in about 30
    std::string said = "Rang 3+0 atteint au tirage ";
    said += std::to_string(*next.untilHit) + ".";
    EXPECT_EQ(PanelEndText(until), said);
}

// The progress that a run shows, in the order shown.
class RecordingPump final : public EventPump {
public:
    bool ProcessEvents(const DrawProgress& progress) override {
        shown.push_back(progress);
        return true;
    }
    std::vector<DrawProgress> shown;
};

// Repetitions until a tier: the commands that the engine's session draws one after the other,
// their waits tested; lifetimes of the draws, their nets summarised; loto-sim's lines of each.
TEST_F(PanelSessionTest, RepeatsAndLifetimes) {
    RecordingPump recording;
    PanelFields until = With({{&PanelFields::until, "3"}, {&PanelFields::repeats, " 1 2 "}});
    const PanelShown repeated = panel_.Run(until, PanelCommand::Until, recording);
    ASSERT_EQ(repeated.refusal, "");
    GameSession session(runTime_, 1);
    const DrawRule rule = test::Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6});
    std::vector<std::uint64_t> waits;
    for (int i = 0; i < 12; ++i) {
        waits.push_back(*session
                             .Simulate({.requested = 1000,
                                        .rule = rule,
                                        .speedTest = false,
                                        .until = {rule.TierIndex(3, false, 0)}},
                                       pump_)
                             .untilHit);
    }
    ASSERT_TRUE(repeated.waits);
    EXPECT_EQ(repeated.waits->sample.waits, waits);
    EXPECT_EQ(repeated.commands, 12);
    EXPECT_EQ(PanelEndText(repeated), "Terminé : 12 répétitions jusqu’au rang 3.");
    EXPECT_NE(repeated.chart.find("waits"), std::string::npos);
    // One JSON line a command, then the waits'; the CSV's header, then seven lines a command.
    EXPECT_EQ(std::count(repeated.json.begin(), repeated.json.end(), '\n'), 13);
    EXPECT_TRUE(repeated.json.ends_with("\"tier\":\"3\"}}\n"));
    EXPECT_EQ(std::count(repeated.csv.begin(), repeated.csv.end(), '\n'), 1 + 12 * 7);
    // The progress bar goes forward over the commands, never back.
    for (std::size_t i = 1; i < recording.shown.size(); ++i) {
        EXPECT_GE(recording.shown[i].done, recording.shown[i - 1].done);
        EXPECT_EQ(recording.shown[i].total, 12'000'000U);
    }

    const PanelShown lives =
        Run(With({{&PanelFields::prizes, "3=5"}, {&PanelFields::lifetimes, "4"}}));
    ASSERT_TRUE(lives.lifetimes);
    EXPECT_EQ(lives.lifetimes->lifetimes, 4U);
    EXPECT_EQ(lives.figures.report.drawsDone, 1000U);
    EXPECT_EQ(lives.command, 16);
    EXPECT_EQ(PanelEndText(lives), "Terminé : 4 vies de 1\u202F000 tirages.");
    EXPECT_TRUE(lives.json.ends_with("}}\n"));
    EXPECT_NE(lives.json.find("{\"summary\":"), std::string::npos);
    // LANCER reads no repetitions, JUSQU'AU RANG no lifetimes.
    EXPECT_EQ(Run(With({{&PanelFields::repeats, "x"}})).refusal, "");
    EXPECT_EQ(Run(until, PanelCommand::Until).commands, 12);
}

TEST_F(PanelSessionTest, RefusesCountsOfCommands) {
    const std::string repeats = "Répétitions : \"";
    const std::string end = "\" n'est pas un nombre entier de 1 à 1\u202F000.";
    const std::vector<std::tuple<Typed, PanelCommand, std::string>> rows = {
        {{{&PanelFields::until, "3"}, {&PanelFields::repeats, "0"}},
         PanelCommand::Until,
         repeats + "0" + end},
        {{{&PanelFields::until, "3"}, {&PanelFields::repeats, "1001"}},
         PanelCommand::Until,
         repeats + "1001" + end},
        {{{&PanelFields::until, "3"}, {&PanelFields::repeats, "2.5"}},
         PanelCommand::Until,
         repeats + "2.5" + end},
        {{{&PanelFields::price, "2"}, {&PanelFields::lifetimes, "-1"}},
         PanelCommand::Run,
         "Vies : \"-1" + end},
        {{{&PanelFields::lifetimes, "3"}},
         PanelCommand::Run,
         "Vies : chaque vie compte son net ; donnez un prix ou des gains."},
    };
    for (const auto& [typed, command, message] : rows) {
        EXPECT_EQ(Run(With(typed), command).refusal, message) << typed.back().second;
    }
}

// loto-sim's example rules fill the boxes with their game, price, prizes as advertised and draws
// a week, and share and tax the ticket's prizes; typed for another game, they are refused.
TEST_F(PanelSessionTest, PlaysTheExampleRules) {
    const std::vector<std::string> files = {"canada-6-49.json", "euromillions.json",
                                            "france-5-49-1-10.json", "us-5-69-1-26.json"};
    std::vector<std::string> offered;
    for (const ExampleRules& example : ExampleRulesFiles()) {
        offered.emplace_back(example.file);
        const LotteryRules rules = *ParseRules(example.text).rules;
        std::optional<PanelFields> fields = RulesFields(example.file, With({}));
        ASSERT_TRUE(fields);
        EXPECT_EQ(fields->game, GameName(rules.game));
        fields->ticket = OneTo(rules.game.main.drawn);
        fields->second = OneTo(rules.game.second.drawn);
        const PanelShown shown = Run(*fields);
        ASSERT_EQ(shown.refusal, "") << example.file;
        ASSERT_TRUE(shown.figures.play.shared && shown.figures.play.money);
        EXPECT_EQ(shown.figures.play.money->price, rules.price);
        EXPECT_EQ(shown.figures.play.drawsPerWeek, rules.drawsPerWeek);
        // Sharing and tax take from what the prizes as advertised return.
        EXPECT_LT(shown.figures.play.shared->law.expectedReturn,
                  shown.figures.play.money->expectedReturn)
            << example.file;
    }
    EXPECT_EQ(offered, files);
    PanelFields other = *RulesFields("euromillions.json", With({}));
    other.game = "6/49";
    EXPECT_EQ(Run(other).refusal, "Jeu : les règles choisies sont du 5/50+2/12, pas du 6/49.");
    other.rules = "../../etc/passwd";
    EXPECT_EQ(Run(other).refusal, "Règles : \"../../etc/passwd\" n'est pas un des exemples.");
    EXPECT_FALSE(RulesFields("none.json", With({})));
}

class StoppingPump final : public EventPump {
public:
    bool ProcessEvents(const DrawProgress&) override { return false; }
};

// The chart of the runs of one game's tiers, as loto-sim charts the same commands: another game
// starts it anew; a refused or stopped run adds nothing and shows none.
TEST_F(PanelSessionTest, ChartsTheRunsOfOneGame) {
    const PanelFields sixOf49 = With({});
    const PanelFields sixOf45 = With({{&PanelFields::game, "6/45"}});
    const PanelShown first = Run(sixOf49);
    const PanelShown second = Run(sixOf49);
    EXPECT_NE(second.chart.find("after 2 commands, against the draws"), std::string::npos);
    EXPECT_EQ(std::pair(first.chartRuns, second.chartRuns), std::pair(1UL, 2UL));
    EXPECT_EQ(ChartAlternativeText(second),
              "Graphique : l’écart en pour cent de chaque rang du 6/49 selon le nombre de tirages "
              "cumulés des 2 lancers de ce jeu (échelle logarithmique), dans ses entonnoirs à "
              "95 %, et le khi-deux de tous les tirages sous le graphique.");

    EXPECT_EQ(Run(sixOf45).chartRuns, 1U);
    const PanelShown refused = Run(With({{&PanelFields::ticket, "0"}}));
    EXPECT_EQ(refused.chart, "");
    StoppingPump stop;
    const PanelShown stopped = panel_.Run(sixOf45, PanelCommand::Run, stop);
    ASSERT_TRUE(stopped.figures.report.stopped);
    EXPECT_EQ(stopped.chart, "");
    const PanelShown last = Run(sixOf45);
    EXPECT_EQ(last.chartRuns, 2U);
    EXPECT_EQ(last.command, 5);  // the refusal is not one of loto-sim's commands that drew
}

TEST(PanelWords, SaysWhatTheRunDid) {
    PanelShown shown;
    shown.figures.report.drawsDone = 1234567;
    shown.figures.play.until = "6";
    EXPECT_EQ(PanelEndText(shown), "Rang 6 pas atteint en 1\u202F234\u202F567 tirages.");
    shown.figures.report.stopped = true;
    shown.figures.report.drawsDone = 123;
    EXPECT_EQ(PanelEndText(shown), "Arrêté après 123 tirages.");
    EXPECT_EQ(PanelDrawingText(true, "x"), "Test de vitesse...");
    EXPECT_EQ(PanelDrawingText(false, ""), "Tirages en cours...");
    EXPECT_EQ(PanelDrawingText(false, "09/12/2026 10:00:00"),
              "Tirages en cours, fin prévue : 09/12/2026 10:00:00.");
}

}  // namespace
}  // namespace loto
