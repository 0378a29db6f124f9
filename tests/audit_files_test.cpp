// loto-sim --audit on histories shaped as operators publish them: their dates, a draw in one field,
// Latin-1 headers, columns the audit does not use, several files merged by date; each audited as
// the tidy file of the same draws is.
#include <gtest/gtest.h>

#include <functional>
#include <iomanip>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/support/audit_draws.h"
#include "tests/support/loto_sim.h"
#include "tests/transcription.h"

namespace loto {
namespace {

using nlohmann::json;
using test::Draws;
using test::ExpectRuns;
using test::RunSim;
using test::Written;

using Date = std::chrono::year_month_day;

std::string Padded(unsigned value) {
    std::ostringstream text;
    text << std::setfill('0') << std::setw(2) << value;
    return text.str();
}

std::string Iso(const Date& date) {
    return std::to_string(static_cast<int>(date.year())) + "-" +
           Padded(static_cast<unsigned>(date.month())) + "-" +
           Padded(static_cast<unsigned>(date.day()));
}

// A file of draws [from, to), newest first, each line `line(date, numbers, bonus)` under `header`.
std::string Shaped(const Draws& draws, std::size_t from, std::size_t to, const std::string& header,
                   const std::function<std::string(const Date&, const std::string&, int)>& line,
                   const std::string& separator) {
    std::string text = header + "\n";
    for (std::size_t d = to; d-- > from;) {
        std::string numbers;
        for (const int n : draws.main[d]) {
            numbers += (numbers.empty() ? "" : separator) + std::to_string(n);
        }
        text += line(test::DrawDate(d), numbers, draws.bonus[d]) + "\n";
    }
    return text;
}

// The tests of an audit's JSON, its draws and whether it ran.
json Tests(const std::string& arguments) {
    const auto run = RunSim("--json --calibrate 0 --game 6/49+bonus " + arguments);
    EXPECT_EQ(run.status, 0) << arguments << ": " << run.err;
    const json audit = json::parse(run.out, nullptr, false);
    return audit.is_discarded() ? json() : json{audit["draws"], audit["tests"]};
}

TEST(LotoSimAuditFiles, PublishedShapesAuditAsTheTidyFile) {
    const Draws draws = test::MakeDraws(300, false);
    const std::size_t all = draws.main.size();
    const auto iso = [](const Date& date, const std::string& numbers, int bonus) {
        return Iso(date) + "," + numbers + "," + std::to_string(bonus);
    };
    const std::string tidy =
        Written("tidy.csv", Shaped(draws, 0, all, "date,b1,b2,b3,b4,b5,b6,bonus", iso, ","));
    const json reference =
        Tests("--audit " + tidy + " --columns b1,b2,b3,b4,b5,b6 --bonus bonus --date date");
    ASSERT_EQ(reference[0], all);

    // France: ';', a trailing ';', amounts and a currency; YYYYMMDD in the older file, DD/MM/YYYY
    // in the newer, which repeats the older's last draw.
    const std::string french =
        "date;boule_1;boule_2;boule_3;boule_4;boule_5;boule_6;complementaire;"
        "rapport;devise;";
    const auto older = [](const Date& date, const std::string& numbers, int bonus) {
        return Iso(date).substr(0, 4) + Iso(date).substr(5, 2) + Iso(date).substr(8, 2) + ";" +
               numbers + ";" + std::to_string(bonus) + ";1 234 567,89;EUR;";
    };
    const auto newer = [](const Date& date, const std::string& numbers, int bonus) {
        return Padded(static_cast<unsigned>(date.day())) + "/" +
               Padded(static_cast<unsigned>(date.month())) + "/" +
               std::to_string(static_cast<int>(date.year())) + ";" + numbers + ";" +
               std::to_string(bonus) + ";12,50;EUR;";
    };
    const std::string before = Written("fr-old.csv", Shaped(draws, 0, 150, french, older, ";"));
    const std::string after = Written("fr-new.csv", Shaped(draws, 149, all, french, newer, ";"));
    const std::string frenchColumns =
        " --columns boule_1,boule_2,boule_3,boule_4,boule_5,boule_6 --bonus complementaire "
        "--date date";
    // New York: one field holds the draw, the bonus last; MM/DD/YYYY.
    const auto york = [](const Date& date, const std::string& numbers, int bonus) {
        return Padded(static_cast<unsigned>(date.month())) + "/" +
               Padded(static_cast<unsigned>(date.day())) + "/" +
               std::to_string(static_cast<int>(date.year())) + "," + numbers + " " +
               std::to_string(bonus) + ",3";
    };
    const std::string ny =
        Written("ny.csv", Shaped(draws, 0, all, "Draw Date,Winning Numbers,Multiplier", york, " "));
    // The UK: 12-Jun-2024, with its ball sets and machines.
    const auto uk = [](const Date& date, const std::string& numbers, int bonus) {
        static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        return Padded(static_cast<unsigned>(date.day())) + "-" +
               kMonths[static_cast<unsigned>(date.month()) - 1] + "-" +
               std::to_string(static_cast<int>(date.year())) + "," + numbers + "," +
               std::to_string(bonus) + ",5,Arthur";
    };
    const std::string britain = Written(
        "uk.csv",
        Shaped(draws, 0, all,
               "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine", uk,
               ","));
    // A header in Latin-1, chosen in UTF-8.
    const std::string latin = Written(
        "latin.csv", Shaped(draws, 0, all, "date,num\xe9ro 1,n2,n3,n4,n5,n6,bonus", iso, ","));
    const struct {
        std::string arguments;
        std::string said;
    } shapes[] = {
        {"--audit " + before + " " + after + frenchColumns,
         "1 draw was in two files (the same date and numbers): counted once"},
        {"--audit " + ny + " --columns 'Winning Numbers' --date 'Draw Date'", ""},
        {"--audit " + britain +
             " --columns 'Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6' --bonus 'Bonus Ball' "
             "--date DrawDate",
         ""},
        {"--audit " + latin + " --columns 'numéro 1,n2,n3,n4,n5,n6' --bonus bonus --date date", ""},
    };
    for (const auto& [arguments, said] : shapes) {
        EXPECT_EQ(Tests(arguments), reference) << arguments;
        const auto text = RunSim("--calibrate 0 --game 6/49+bonus " + arguments);
        EXPECT_NE(text.out.find(said), std::string::npos) << text.out;
    }
    const json both = json::parse(RunSim("--json --calibrate 0 --game 6/49+bonus --audit " +
                                         before + " " + after + frenchColumns)
                                      .out);
    EXPECT_EQ(both["files"], 2);
    EXPECT_EQ(both["repeated"], 1);
}

// Dates and draws that cannot be read, said with their line; slashed dates that no day shows the
// order of, refused unless --date-format says it.
TEST(LotoSimAuditFiles, BadDatesAndDraws) {
    const std::string game = " --game 3/9 --calibrate 0";
    const auto file = [](const std::string& name, const std::string& rows) {
        return Written(name, "date,draw\n" + rows);
    };
    const std::string ambiguous = file("ambiguous.csv", "03/04/2019,1 2 3\n05/04/2019,4 5 6\n");
    const std::string audit = " --columns draw --date date" + game;
    ExpectRuns({
        {"--audit " + file("feb.csv", "31/02/2020,1 2 3\n") + audit, 1, "",
         ": line 2: \"31/02/2020\" is not a date\n"},
        {"--audit " + file("month.csv", "2020-13-01,1 2 3\n") + audit, 1, "",
         ": line 2: \"2020-13-01\" is not a date\n"},
        {"--audit " + file("name.csv", "12-Jux-2024,1 2 3\n") + audit, 1, "",
         ": line 2: \"12-Jux-2024\" is not a date\n"},
        {"--audit " + file("short.csv", "20240612,1 2\n") + audit, 1, "",
         ": line 2: \"1 2\" holds 2 numbers, where a draw has 3\n"},
        {"--audit " + ambiguous + audit, 1, "",
         "the dates such as \"03/04/2019\" may be read day first or month first, and no date "
         "shows which: --date-format DD/MM/YYYY or MM/DD/YYYY says it\n"},
        {"--audit " + ambiguous + audit + " --date-format MM/DD/YYYY", 0, "audit of", ""},
        {"--audit " + ambiguous + audit + " --date-format D/M/Y", 2, "",
         "\"D/M/Y\" is not DD/MM/YYYY or MM/DD/YYYY"},
        {"--audit " + ambiguous + " --columns draw" + game + " --date-format DD/MM/YYYY", 2, "",
         "--date-format requires --date"},
    });
}

// A history whose pool grows from 49 to 59 numbers in its middle, as UK Lotto's did: audited
// without --game as two periods, each with the figures of the period alone; --from and --to
// audit a span of it.
TEST(LotoSimAuditFiles, RuleChangesMakePeriods) {
    std::string whole = "date,b1,b2,b3,b4,b5,b6\n";
    std::string periods[2] = {whole, whole};
    GeneratorState state = kSeedState;
    for (std::size_t d = 0; d < 600; ++d) {
        const test::GameDraw draw = test::DrawGame(state, {.main = {6, d < 300 ? 49 : 59}});
        std::string line = Iso(test::DrawDate(d));
        for (const int n : draw.main) {
            line.append(",").append(std::to_string(n));  // GCC 12 warns of "," + a number here
        }
        whole += line + "\n";
        periods[d < 300 ? 0 : 1] += line + "\n";
    }
    const std::string columns = " --columns b1,b2,b3,b4,b5,b6 --date date --calibrate 0";
    const std::string all = Written("lotto.csv", whole);
    const json split = json::parse(RunSim("--json --audit " + all + columns).out);
    ASSERT_EQ(split["periods"].size(), 2u);
    EXPECT_EQ(split["draws"], 600);
    const std::string ends[2][2] = {{Iso(test::DrawDate(0)), Iso(test::DrawDate(299))},
                                    {Iso(test::DrawDate(300)), Iso(test::DrawDate(599))}};
    for (std::size_t p = 0; p < 2; ++p) {
        const json& period = split["periods"][p];
        const json alone = json::parse(
            RunSim("--json --audit " + Written("period.csv", periods[p]) + columns).out);
        EXPECT_EQ(std::vector<json>({period["from"], period["to"]}),
                  std::vector<json>({ends[p][0], ends[p][1]}));
        EXPECT_EQ(period["game"], p == 0 ? "6/49" : "6/59");
        EXPECT_EQ(period["tests"], alone["tests"]) << p;
        // --from and --to keep the period's draws alone.
        const json span = json::parse(RunSim("--json --audit " + all + columns + " --from " +
                                             ends[p][0] + " --to " + ends[p][1])
                                          .out);
        EXPECT_EQ(span["tests"], alone["tests"]) << p;
    }
    EXPECT_NE(RunSim("--audit " + all + columns)
                  .out.find("the rules change inside the history: 2 periods"),
              std::string::npos);
    ExpectRuns({
        {"--audit " + all + columns + " --from 2000-01-01 --to 1999-01-01", 2, "",
         "--from is after --to"},
        {"--audit " + all + columns + " --from 01/02/1999", 2, "",
         "\"01/02/1999\" is not a date such as 2015-10-10"},
        {"--audit " + all + " --columns b1,b2,b3,b4,b5,b6 --from 1999-01-01", 2, "",
         "--from requires --date"},
        {"--audit " + all + columns + " --from 2030-01-01", 1, "", "there is no draw to audit"},
    });
}

// Four machines, one of which puts 7 in place of a number in a sixth of its draws: --by Machine
// flags it, the numbers by machine and its own; the same draws without the fault flag nothing.
TEST(LotoSimAuditFiles, MachinesAndBallSets) {
    const char* const machines[] = {"Arthur", "Guinevere", "Lancelot", "Merlin"};
    const auto file = [&](const std::string& name, bool faulty) {
        std::string text = "draw,b1,b2,b3,b4,b5,b6,Machine\n";
        GeneratorState state = kSeedState;
        for (int d = 0; d < 2000; ++d) {
            test::GameDraw draw = test::DrawGame(state, kSixOfFortyNine);
            if (faulty && d % 4 == 0 && d % 24 < 4 && std::ranges::count(draw.main, 7) == 0) {
                draw.main.front() = 7;
            }
            text.append(std::to_string(d + 1));
            for (const int n : draw.main) {
                text.append(",").append(std::to_string(n));
            }
            text.append(",").append(machines[d % 4]).append("\n");
        }
        return Written(name, text);
    };
    const std::string options =
        " --columns b1,b2,b3,b4,b5,b6 --game 6/49 --by Machine --calibrate 0 --json";
    const json fair = json::parse(RunSim("--audit " + file("fair.csv", false) + options).out);
    const json faulty = json::parse(RunSim("--audit " + file("faulty.csv", true) + options).out);
    EXPECT_FALSE(fair["flagged"]);
    EXPECT_TRUE(faulty["flagged"]);
    std::map<std::string, double> holm;
    for (const json& test : faulty["tests"]) {
        holm[test["name"]] = test["p_holm"];
    }
    EXPECT_LT(holm["numbers by Machine"], 0.01);
    EXPECT_LT(holm["numbers Arthur"], 0.01);
    EXPECT_EQ(holm["numbers Merlin"], 1);
    for (const json& test : fair["tests"]) {
        if (test["name"] == "numbers by Machine") {
            EXPECT_EQ(test["df"], 48 * 3);
        }
    }
    ExpectRuns({{"--audit " + file("none.csv", false) + " --columns b1,b2,b3,b4,b5,b6 --by Machin",
                 1, "", "line 1: no column named Machin"}});
}

}  // namespace
}  // namespace loto
