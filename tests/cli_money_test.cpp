// loto-sim's money and waiting times: every sum against the tally it comes from, to the cent,
// the exact law against fractions, waits against the draws that make them, and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/loto_sim.h"

namespace loto {
namespace {

using nlohmann::json;
using test::ExpectRuns;
using test::RunSim;

const std::string kPrizes =
    "--price 2.20 --prize 3=5 --prize 4=50 --prize 5=1500 --prize 6=2000000";

std::vector<json> Lines(const std::string& out) {
    std::vector<json> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(json::parse(line));
    }
    return lines;
}

// A sum of money as written, in cents: the digits of its JSON text, which a Double could round.
long long Cents(const std::string& out, const std::string& key) {
    const std::string field = "\"" + key + "\":";
    const std::size_t at = out.find(field);
    if (at == std::string::npos) {
        ADD_FAILURE() << key;
        return 0;
    }
    const std::size_t start = at + field.size();
    const std::string text = out.substr(start, out.find_first_of(",}", start) - start);
    const std::size_t point = text.find('.');
    EXPECT_EQ(text.size() - point, 3U) << key << ": " << text;  // two decimals, always
    const long long units = std::stoll(text.substr(0, point));
    const long long cents = std::stoll(text.substr(point + 1));
    return units * 100 + (text[0] == '-' ? -cents : cents);
}

TEST(LotoSimMoney, SumsToTheCentAndTheExactLaw) {
    const auto run = RunSim("--json " + kPrizes + " 1000000 7 10 14 20 30 40");
    ASSERT_EQ(run.status, 0) << run.err;
    const json object = json::parse(run.out);
    const long long prizes[] = {0, 0, 0, 500, 5000, 150000, 200000000};
    long long won = 0;
    for (const json& tier : object["tiers"]) {
        won += tier["count"].get<long long>() * prizes[tier["main"].get<int>()];
    }
    const long long draws = object["draws"];
    EXPECT_EQ(Cents(run.out, "won"), won);
    EXPECT_EQ(Cents(run.out, "spent"), 220 * draws);
    EXPECT_EQ(Cents(run.out, "net"), won - 220 * draws);
    EXPECT_EQ(Cents(run.out, "price"), 220);
    EXPECT_EQ(Cents(run.out, "cost"), 220);
    // C(6,k) C(43,6-k) x prize over C(49,6), and its square's, in whole cents.
    const double mean = 429835000.0 / 13983816;
    const double squares =
        (246820.0 * 500 * 500 + 13545.0 * 5000 * 5000 + 258.0 * 150000 * 150000 + 2e8 * 2e8) /
        13983816;
    const json& money = object["money"];
    EXPECT_NEAR(money["expected_return"].get<double>(), mean / 100, 1e-12);
    EXPECT_NEAR(money["expected_net"].get<double>(), (mean - 220) / 100, 1e-12);
    EXPECT_NEAR(money["return_rate"].get<double>(), mean / 220 * 100, 1e-10);
    const double z = (static_cast<double>(won) - static_cast<double>(draws) * mean) /
                     std::sqrt(static_cast<double>(draws) * (squares - mean * mean));
    EXPECT_NEAR(money["z"].get<double>(), z, 1e-9);
    // Any prize: the tiers 3 to 6 together, and the earliest of their first draws.
    double any = 0;
    long long first = 0;
    for (const json& tier : object["tiers"]) {
        EXPECT_NEAR(tier["mean_wait"].get<double>(), 1 / tier["probability"].get<double>(), 1e-6);
        EXPECT_EQ(tier["first_hit"].is_null(), tier["count"] == 0) << tier;
        if (tier["main"] >= 3) {
            any += tier["probability"].get<double>();
        }
        if (tier["main"] >= 3 && !tier["first_hit"].is_null()) {
            const long long hit = tier["first_hit"];
            first = first == 0 ? hit : std::min(first, hit);
        }
    }
    EXPECT_NEAR(object["any_prize"]["probability"].get<double>(), any, 1e-15);
    EXPECT_EQ(object["any_prize"]["first_hit"], first);
}

// A system ticket of eight plays its 28 combinations: 28 times the price, and the waits in
// years at two draws a week.
TEST(LotoSimMoney, SystemTicketsAndYears) {
    const auto run = RunSim("--json --draws-per-week 2 " + kPrizes + " 1000 1 2 3 4 5 6 7 8");
    ASSERT_EQ(run.status, 0) << run.err;
    const json object = json::parse(run.out);
    EXPECT_EQ(Cents(run.out, "cost"), 28 * 220);
    EXPECT_EQ(Cents(run.out, "spent"), 28 * 220 * 1000);
    for (const json& tier : object["tiers"]) {
        EXPECT_NEAR(tier["mean_wait_years"].get<double>(),
                    tier["mean_wait"].get<double>() / (2 * 365.25 / 7), 1e-9);
    }
}

// --until draws from where the previous command ended, without a speed test: a lifetime of
// that many draws from the seed, also without one, holds its first draw in the tier as its last.
TEST(LotoSimMoney, UntilStopsAtTheFirstDrawOfItsTier) {
    const auto until = RunSim("--json --until 4 1000000 7 10 14 20 30 40");
    ASSERT_EQ(until.status, 0) << until.err;
    const json stopped = json::parse(until.out);
    const long long draws = stopped["until"]["draws"];
    EXPECT_EQ(stopped["until"]["tier"], "4");
    EXPECT_EQ(stopped["draws"], draws);
    EXPECT_EQ(stopped["estimate"], nullptr);
    const auto same =
        RunSim("--json --price 0 --lifetimes 1 " + std::to_string(draws) + " 7 10 14 20 30 40");
    const json lifetime = Lines(same.out).front();
    EXPECT_EQ(lifetime["tiers"][4]["first_hit"], draws);
    EXPECT_EQ(lifetime["tiers"][4]["count"], 1);
    EXPECT_EQ(lifetime["tiers"], stopped["tiers"]);
    const auto bound = RunSim("--json --until 6 1000 7 10 14 20 30 40");
    EXPECT_EQ(json::parse(bound.out)["until"]["draws"], nullptr);
}

// The waits of --repeat commands, each after the one before, against the geometric law; the
// lifetimes' nets summarised by nearest rank.
TEST(LotoSimMoney, WaitsAndLifetimesSummarised) {
    const auto waits = RunSim("--json --until 3 --repeat 60 200 7 10 14 20 30 40");
    ASSERT_EQ(waits.status, 0) << waits.err;
    const std::vector<json> lines = Lines(waits.out);
    ASSERT_EQ(lines.size(), 61u);
    std::vector<long long> hit;
    int censored = 0;
    for (std::size_t i = 0; i < 60; ++i) {
        const json& draws = lines[i]["until"]["draws"];
        draws.is_null() ? ++censored : (hit.push_back(draws), 0);
    }
    const json& summary = lines.back()["waits"];
    EXPECT_EQ(summary["commands"], 60);
    EXPECT_EQ(summary["censored"], censored);
    EXPECT_EQ(summary["bound"], 200);
    double sum = 0;
    for (const long long w : hit) {
        sum += static_cast<double>(w);
    }
    EXPECT_NEAR(summary["mean"].get<double>(), sum / static_cast<double>(hit.size()), 1e-9);
    long long observed = 0;
    for (const json& c : summary["classes"]) {
        observed += c["observed"].get<long long>();
    }
    EXPECT_EQ(observed, 60);
    EXPECT_GT(summary["p_value"].get<double>(), 0);
    EXPECT_EQ(summary["df"].get<std::size_t>(), summary["classes"].size() - 1);
    // One command drawn until a tier has no summary; two past the bound, one class and no test.
    EXPECT_EQ(Lines(RunSim("--json --until 6 100 1 2 3 4 5 6").out).size(), 1u);
    const json none = Lines(RunSim("--json --until 6 --repeat 2 100 1 2 3 4 5 6").out).back();
    EXPECT_EQ(std::vector({none["waits"]["chi_square"], none["waits"]["df"]}),
              std::vector<json>(2, nullptr));

    const auto lives = RunSim("--json " + kPrizes + " --lifetimes 9 500 7 10 14 20 30 40");
    ASSERT_EQ(lives.status, 0) << lives.err;
    const std::vector<json> nets = Lines(lives.out);
    ASSERT_EQ(nets.size(), 10u);
    std::vector<double> sorted;
    for (std::size_t i = 0; i < 9; ++i) {
        sorted.push_back(nets[i]["money"]["net"].get<double>());
    }
    std::ranges::sort(sorted);
    const json& life = nets.back()["summary"];
    EXPECT_EQ(life["lifetimes"], 9);
    EXPECT_DOUBLE_EQ(life["net_median"].get<double>(), sorted[4]);  // rank ceil(4.5) = 5
    EXPECT_DOUBLE_EQ(life["net_p01"].get<double>(), sorted[0]);
    EXPECT_DOUBLE_EQ(life["net_p99"].get<double>(), sorted[8]);
    EXPECT_NEAR(
        life["ahead"].get<double>(),
        static_cast<double>(std::ranges::count_if(sorted, [](double n) { return n > 0; })) / 9,
        1e-12);
    EXPECT_NEAR(life["expected_net"].get<double>(),
                500 * nets[0]["money"]["expected_net"].get<double>(), 1e-6);
}

// Tiers too rare for 64 bits, certain tiers, amounts past 2^63 and a pool of 90: every run ends,
// in seconds, with what it can say, and its JSON reads back as the figures it holds.
TEST(LotoSimMoney, RareCertainAndHugeFigures) {
    const std::string twenty = " 10 $(seq 1 20)";
    ExpectRuns({
        // The median wait of 20 of 20/99, about 3 x 10^20 draws, is no longer counted up to.
        {"--locale en_US --game 20/99 --until 20 --repeat 2" + twenty, 0,
         "  mean - (law 4.287866963230478e+20; 5.50 for the waits within the bound), median - "
         "(law 2.97212289617934e+20)\n",
         ""},
        {"--game 20/99 --until 20 --repeat 2 --svg /dev/null" + twenty, 0, "waits for 20", ""},
        // Every number on the ticket: the tier comes at the first draw, every time.
        {"--until 6 --repeat 5 10 $(seq 1 49)", 0,
         "  against the geometric law: chi-square: a single class of waits is possible, nothing "
         "to test\n",
         ""},
        {"--game 1/2 --until 1 --repeat 3 --svg /dev/null 10 1 2", 0, "waits for 1", ""},
        // The cost is exact, so is the net beside it.
        {"--locale en_US --game 20/70 --price 0.01 10 $(seq 1 70)", 0,
         "expected a draw: return 0.0000, net -1618846036626578.76,", ""},
        // C(99, 49) combinations at no price cost nothing.
        {"--locale en_US --game 49/99 --price 0 10 $(seq 1 99)", 0, "ticket: 0.00 a draw", ""},
    });
    const json wait =
        json::parse(RunSim("--game 20/99 --json --draws-per-week 2" + twenty).out)["tiers"][20];
    EXPECT_EQ(wait["mean_wait"].get<double>(), 4.2878669632304775e20);
    EXPECT_GT(wait["mean_wait_years"].get<double>(), 4e18);
    const json life = Lines(RunSim("--json --price 1234567890123456.78 --lifetimes 3 10000 "
                                   "1 2 3 4 5 6")
                                .out)
                          .back()["summary"];
    EXPECT_DOUBLE_EQ(life["expected_net"].get<double>(), -1.23456789012345678e19);
    EXPECT_DOUBLE_EQ(life["net_mean"].get<double>(), -1.23456789012345678e19);
    // Waits that reached the bound against the law's mean below it, E[W | W <= 1500].
    const json censored =
        Lines(RunSim("--json --until 4 --repeat 301 1500 1 2 3 4 5 6").out).back()["waits"];
    EXPECT_GT(censored["censored"].get<int>(), 0);
    EXPECT_NEAR(censored["law_mean_below_bound"].get<double>(), 574.89, 0.005);
    // A bound past 2^64 - 2048 draws, whose last class ends at 2^64 - 1: no wait is lost.
    long long classed = 0;
    const std::vector<json> far =
        Lines(RunSim("--json --until 0 --repeat 20 1e20 1 2 3 4 5 6").out);
    for (const json& c : far.back()["waits"]["classes"]) {
        classed += c["observed"].get<long long>();
    }
    EXPECT_EQ(classed, 20);
    // An audit of a pool of 90, whose pairs' law has 3,915 degrees of freedom.
    const auto audit = RunSim("--json --audit-generator 1000 --game 6/90 --calibrate 0");
    ASSERT_EQ(audit.status, 0) << audit.err;
    EXPECT_EQ(json::parse(audit.out)["tests"][2]["name"], "pairs");
}

// The waits' chart: a bar for each class of the test, holding every wait that came.
TEST(LotoSimMoney, WaitsChartHoldsEveryWait) {
    const std::string svg = test::Chart("--until 3 --repeat 40 100 7 10 14 20 30 40");
    long long observed = 0;
    const std::string bar = "class=\"class\"", count = "data-observed=\"";
    for (std::size_t at = svg.find(bar); at != std::string::npos; at = svg.find(bar, at + 1)) {
        const std::size_t value = svg.find(count, at) + count.size();
        ASSERT_LT(value, svg.find('>', at)) << "a bar without its count";
        observed += std::stoll(svg.substr(value));
    }
    const std::size_t beyond = svg.find(" beyond the bound of 100 draws");
    ASSERT_NE(beyond, std::string::npos);
    const std::size_t digits = svg.find_last_not_of("0123456789", beyond - 1) + 1;
    EXPECT_EQ(observed + std::stoll(svg.substr(digits, beyond - digits)), 40);
    EXPECT_NE(svg.find("class=\"law\""), std::string::npos);
}

TEST(LotoSimMoney, RefusesWhatCannotBePlayed) {
    const std::string grid = " 100 1 2 3 4 5 6";
    ExpectRuns({
        {"--prize 7=5" + grid, 2, "", "\"7\" is not a tier of a 6/49 ticket of 6 numbers"},
        {"--prize 3=5 --prize 3=6" + grid, 2, "", "tier \"3\" is given twice"},
        {"--prize 3=5.123" + grid, 2, "", "\"5.123\" is not an amount"},
        {"--prize 3" + grid, 2, "", "\"3\" is not TIER=AMOUNT"},
        {"--price -1" + grid, 2, "", "\"-1\" is not an amount"},
        {"--price 1e3" + grid, 2, "", "\"1e3\" is not an amount"},
        {"--game 6/49+bonus --prize 6+b=5" + grid, 2, "", "\"6+b\" is not a tier"},
        {"--until any" + grid, 2, "", "no tier of the ticket has a prize"},
        {"--until 7" + grid, 2, "", "\"7\" is not a tier of this 6/49 ticket"},
        {"--lifetimes 3" + grid, 2, "", "--lifetimes needs a --price or a --prize"},
        {"--lifetimes 3 --repeat 2 --price 1" + grid, 2, "", "excludes"},
        {"--draws-per-week 0" + grid, 2, "", "\"0\" is not a number of draws a week"},
        {"--draws-per-week 5e-324" + grid, 2, "",
         "\"5e-324\" is not a number of draws a week from 0.001 (one in a thousand weeks"},
        {"--draws-per-week 0.001" + grid, 0, "draws: 100 in", ""},
        {"--raw --price 1", 2, "", "excludes"},
        // Six combinations of a ticket of seven match five where the draw matches six.
        {"--prize 5=10000000000000000 10 1 2 3 4 5 6 7", 2, "", "too much to count to the cent"},
    });
}

TEST(LotoSimMoney, TextAndCsvSayTheSame) {
    const auto text = RunSim("--locale en_US " + kPrizes + " 1000 7 10 14 20 30 40");
    // The table's columns of waits, under their heads.
    const auto years =
        RunSim("--locale en_US " + kPrizes + " --draws-per-week 2 1000 7 10 14 20 30 40");
    EXPECT_NE(
        years.out.find(" tier         observed            expected     deviation %       mean "
                       "wait       years   first hit\n 0                 399        "
                       "435.96497551        -8.47889         2.29376     0.02198           5\n"),
        std::string::npos)
        << years.out;
    EXPECT_NE(text.out.find("ticket: 2.20 a draw; spent 2200.00, won "), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("return rate 13.97 %"), std::string::npos) << text.out;
    const auto csv = RunSim("--csv " + kPrizes + " 1000 7 10 14 20 30 40");
    std::istringstream lines(csv.out);
    std::string header, row, lastRow;
    std::getline(lines, header);
    EXPECT_NE(header.find(",mean_wait,mean_wait_years,first_hit,payout,price,cost,spent,won,net,"),
              std::string::npos);
    for (int k = 0; std::getline(lines, row); ++k) {
        const char* payouts[] = {",0.00,",  ",0.00,",    ",0.00,",      ",5.00,",
                                 ",50.00,", ",1500.00,", ",2000000.00,"};
        EXPECT_NE(row.find(std::string(payouts[k]) + "2.20,2.20,2200.00,"), std::string::npos)
            << row;
        lastRow = row;
    }
    // The exact law's figures in every row, as the JSON gives them, in the columns after "net".
    const json money =
        json::parse(RunSim("--json " + kPrizes + " 1000 7 10 14 20 30 40").out)["money"];
    std::istringstream last(lastRow.substr(lastRow.find(",2200.00,")));
    std::string field;
    for (int skipped = 0; skipped < 4; ++skipped) {
        std::getline(last, field, ',');  // before spent, spent, won, net
    }
    for (const std::string name : {"expected_return", "expected_net", "return_rate"}) {
        ASSERT_TRUE(std::getline(last, field, ',')) << name;
        EXPECT_EQ(std::stod(field), money[name].get<double>()) << name;
    }
}

}  // namespace
}  // namespace loto
