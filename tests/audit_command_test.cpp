// loto-sim --audit and --audit-generator as a user runs them: a history that the test writes as a
// spreadsheet would, each figure of the JSON against a plain loop over the file, the bad lines and
// usage errors with their statuses, the outputs, and the README's example run.
#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <map>
#include <nlohmann/json.hpp>
#include <numeric>
#include <random>
#include <set>
#include <sstream>

#include "core/generator_jump.h"
#include "tests/support/audit_draws.h"
#include "tests/support/loto_sim.h"
#include "tests/transcription.h"

namespace loto {
namespace {

using nlohmann::json;
using test::Draws;
using test::ExpectRuns;
using test::MakeDraws;
using test::ReadFile;
using test::RunSim;
using test::Shell;
using test::Written;

// Newest first as lottery sites list them, on ';' with a byte-order mark and CRLF.
std::string HistoryText(const Draws& draws) {
    std::vector<std::string> lines;
    for (std::size_t d = 0; d < draws.main.size(); ++d) {
        const std::chrono::year_month_day date = test::DrawDate(d);
        std::ostringstream line;
        line << std::setfill('0') << std::setw(2) << static_cast<unsigned>(date.day()) << '/'
             << std::setw(2) << static_cast<unsigned>(date.month()) << '/'
             << static_cast<int>(date.year());
        for (const int n : draws.main[d]) {
            line << ';' << n;
        }
        line << ";\"" << draws.bonus[d] << "\"\r\n";
        lines.push_back(line.str());
    }
    std::string text = "\xEF\xBB\xBF\"date\";b1;b2;b3;b4;b5;b6;bonus\r\n";
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        text += *line;
    }
    return text;
}

double ChiSquareTail(int freedom, double x) {
    return cdf(complement(boost::math::chi_squared(freedom), x));
}

// Pearson's X² of the numbers' counts, times (N - 1)/(N - K).
double NumbersStatistic(const std::vector<std::vector<int>>& draws, int top) {
    std::map<int, double> counts;
    for (const auto& draw : draws) {
        for (const int n : draw) {
            ++counts[n];
        }
    }
    const double k = static_cast<double>(draws.front().size());
    const double expected = static_cast<double>(draws.size()) * k / top;
    double x2 = 0;
    for (int n = 1; n <= top; ++n) {
        x2 += (counts[n] - expected) * (counts[n] - expected) / expected;
    }
    return x2 * (top - 1) / (top - k);
}

const std::string kColumns = " --columns b1,b2,b3,b4,b5,b6";

// Every key and name as listed, no other; the draws in date order, so that the runs test sees
// them as drawn; each p-value Holm-adjusted over the family by a plain sort; the gaps calibrated,
// the same on one thread as on two.
TEST(LotoSimAudit, ReadsAHistoryAsASpreadsheetWritesIt) {
    const Draws draws = MakeDraws(1500, false);
    const std::string file = Written("fair.csv", HistoryText(draws));
    const std::string command = "--json --audit " + file + kColumns +
                                " --bonus bonus --date date --game 6/49+bonus --calibrate 999";
    const auto run = RunSim(command);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(RunSim(command + " --threads 1").out, run.out);
    const json audit = json::parse(run.out);
    std::set<std::string> keys;
    for (const auto& [key, value] : audit.items()) {
        keys.insert(key);
    }
    EXPECT_EQ(keys,
              (std::set<std::string>{"draws", "flagged", "game", "ticket", "set_aside", "tests", "power"}));
    EXPECT_EQ(audit["ticket"], nullptr);
    EXPECT_EQ(audit["draws"], 1500);
    EXPECT_EQ(audit["game"], "6/49+bonus");
    EXPECT_EQ(audit["set_aside"], json::array());
    EXPECT_EQ(audit["flagged"], false);
    std::vector<std::string> names;
    std::vector<double> p;
    for (const json& test : audit["tests"]) {
        std::set<std::string> fields;
        for (const auto& [key, value] : test.items()) {
            fields.insert(key);
        }
        EXPECT_EQ(fields,
                  (std::set<std::string>{"name", "pool", "statistic", "df", "p_value", "p_holm",
                                         "calibrated", "p_interval", "histories"}));
        EXPECT_EQ(test["pool"], "main");
        EXPECT_EQ(test["calibrated"], test["name"] == "gaps");
        EXPECT_EQ(test["histories"], test["name"] == "gaps" ? json(999) : json());
        names.push_back(test["name"]);
        p.push_back(test["p_value"]);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"numbers", "numbers extreme", "pairs", "pairs extreme",
                                        "overlap", "gaps", "sums", "odd", "runs"}));
    const json& numbers = audit["tests"][0];
    const double statistic = NumbersStatistic(draws.main, 49);
    EXPECT_NEAR(numbers["statistic"].get<double>(), statistic, 1e-9 * statistic);
    EXPECT_EQ(numbers["df"], 48);
    EXPECT_NEAR(numbers["p_value"].get<double>(), ChiSquareTail(48, statistic), 1e-12);
    // (1 + #>=) / 1000, inside the 99 % interval of #>= / 999.
    const json& gaps = audit["tests"][5];
    const double steps = gaps["p_value"].get<double>() * 1000;
    EXPECT_NEAR(steps, std::round(steps), 1e-9);
    EXPECT_LT(gaps["p_interval"][0].get<double>(), gaps["p_value"].get<double>());
    EXPECT_GT(gaps["p_interval"][1].get<double>(), gaps["p_value"].get<double>());
    std::vector<std::size_t> order(p.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return p[a] < p[b]; });
    double floor = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        floor = std::max(floor, std::min(1.0, static_cast<double>(p.size() - i) * p[order[i]]));
        EXPECT_DOUBLE_EQ(audit["tests"][order[i]]["p_holm"].get<double>(), floor) << i;
    }
    // Read in file order, newest first, the runs test sees the same sums in reverse: the same
    // runs, every other figure the same too.
    const json reversed =
        json::parse(RunSim("--json --audit " + file + kColumns + " --game 6/49 --calibrate 0").out);
    EXPECT_EQ(reversed["tests"][0], audit["tests"][0]);
    EXPECT_EQ(reversed["tests"][8]["statistic"], audit["tests"][8]["statistic"]);
    std::remove(file.c_str());
}

// A bad line ends the reading with its line and reason, status 1, or is set aside with
// --skip-bad; the options that cannot work are usage errors, status 2.
TEST(LotoSimAudit, BadLinesAndUsageErrors) {
    const std::string file = Written("bad.csv", "n1,n2,n3\n1,2,3\n\n4,5,7.5\n6,7,8\n9,9,1\n");
    const std::string strict = "--audit " + file + " --columns n1,n2,n3";
    const std::string audit = strict + " --skip-bad";
    const auto skipped = RunSim("--json " + audit);
    ASSERT_EQ(skipped.status, 0) << skipped.err;
    EXPECT_EQ(
        json::parse(skipped.out)["set_aside"],
        json::parse(R"([{"line":4,"fields":["4","5","7.5"],"reason":"\"7.5\" is not a whole )"
                    R"(number"},{"line":6,"fields":["9","9","1"],"reason":"9 is repeated"}])"));
    EXPECT_EQ(json::parse(skipped.out)["draws"], 2);
    const std::string nul = Written("nul.csv", std::string("a,b\n1,2\n3\0,4\n", 13));
    const std::string latin = Written("latin.csv", "a,b\n1,2\n3,\xE9\n2,3\n1,3\n");
    const std::string bad = Written("allbad.csv", "a,b\n1,1\nx,2\n");
    const std::string header = Written("header.csv", "a,b\n");
    const std::string wide = Written("wide.csv", "a,b,c\n1,2,120\n4,5,6\n");
    std::string every;
    for (int i = 0; i < 40; ++i) {
        every += "1,2,3,4,5,6\n";
    }
    const std::string full = Written("full.csv", "b1,b2,b3,b4,b5,b6\n" + every);
    const std::string drawn = Written("drawn.csv", HistoryText(MakeDraws(300, false)));
    const std::string ticket = "--audit " + drawn + kColumns + " --game 6/49";
    ExpectRuns({
        {strict, 1, "", "loto-sim: \"" + file + "\": line 4: \"7.5\" is not a whole number\n"},
        {audit + " --game 3/7", 0, "  line 5: \"8\" is out of range 1 to 7\n  line 6: \"9\" is",
         ""},
        {audit + " --game 3/8", 0, "set aside: 2\n  line 4: \"7.5\"", ""},
        {"--csv " + audit, 0,
         "test,pool,statistic,df,p_value,p_holm,calibrated,p_low,p_high,histories,ticket\n",
         "loto-sim: line 4 set aside: \"7.5\" is not a whole number\nloto-sim: line 6 set aside: "
         "9 is repeated\n"},
        // A NUL byte in a field is said, not where the reason ends.
        {"--audit " + nul + " --columns a,b", 1, "", "line 3: \"3\\x00\" is not a whole number\n"},
        // A field of Latin-1 set aside: its byte that is no UTF-8 is U+FFFD in the JSON.
        {"--json --audit " + latin + " --columns a,b --skip-bad", 0,
         "\"fields\":[\"3\",\"\xEF\xBF\xBD\"],\"line\":3", "are guessed"},
        // An audit that can test nothing is no success.
        {"--audit " + header + " --columns a,b", 1, "", "\": there is no draw to audit\n"},
        {"--json --audit " + bad + " --columns a,b --skip-bad", 1, "",
         "there is no draw to audit: every one of the 2 lines was set aside\n"},
        {"--audit " + full + kColumns, 1, "",
         "every draw holds every number of 1 to 6: no test can tell fair draws from any others"},
        // A ticket read whole, or refused; the one tested is said.
        {audit + " --ticket '1;2;3'", 2, "", "--ticket: \"1;2;3\" is not a number"},
        {"--audit " + wide + " --columns a,b,c --ticket '1 2 3'", 2, "",
         "ticket refused: a ticket is played on pools of at most 99 numbers, not 3/120\n"},
        {ticket + " --ticket '1,2 3 4 5 6'", 0, "\nticket: 1 2 3 4 5 6\n", ""},
        {"--csv " + ticket + " --ticket '1,2 3 4 5 6'", 0, ",0,,,,1 2 3 4 5 6\n", ""},
        {"--json " + ticket + " --ticket '1,2 3 4 5 6'", 0, "\"ticket\":{\"main\":[1,2,3,4,5,6]}",
         ""},
        {"--audit " + file + " --columns n1,n4", 1, "", "\": line 1: no column named n4\n"},
        {"--audit /nonexistent.csv --columns 1", 1, "",
         "loto-sim: \"/nonexistent.csv\" cannot be read: No such file or directory\n"},
        {"--audit " + file, 2, "", "--audit needs --columns"},
        {"--columns 1,2", 2, "", "--columns requires --audit"},
        {audit + " --batch", 2, "", "excludes"},
        {audit + " 100 1 2 3 4 5 6", 2, "", "excludes"},
        {audit + " --stream 2", 2, "", "excludes"},
        {audit + " --audit-generator 10", 2, "", "excludes"},
        {audit + " --alpha 1", 2, "", "\"1\" is not a level between 0 and 1"},
        {audit + " --alpha 0,01", 2, "", "is not a level"},
        {ticket + " --calibrate 010", 0, "*: gaps (main) calibrated on 10 fair histories",
         "loto-sim: warning: over 9 tests, Holm's adjustment keeps a p-value calibrated on 10 "
         "fair histories above alpha; --calibrate 1000 or more lets it reach alpha\n"},
        // 9 tests over 900 histories: Holm's least p-value is alpha itself, which does not flag.
        {ticket + " --calibrate 899", 0, "calibrated on 899 fair histories",
         "above alpha; --calibrate 1000 or more lets it reach alpha\n"},
        {ticket + " --calibrate 900", 0, "calibrated on 900 fair histories", ""},
        // A tiny alpha is not chased past the most histories of a default calibration.
        {ticket + " --alpha 1e-9", 0, "calibrated on 100000 fair histories",
         "no more than --calibrate takes would let it reach so small an alpha\n"},
        {audit + " --calibrate 010", 0, "nothing is unlikely", ""},
        {audit + " --calibrate -1", 2, "", "--calibrate: \"-1\" is not a whole number"},
        {"--alpha 0.05 100 1 2 3 4 5 6", 2, "", "--alpha needs --audit or --audit-generator"},
        {"--columns ,a " + audit, 2, "", "\",a\" is not a list of columns"},
        {audit + " --game 6/49", 2, "", "--columns names 3 columns, but 6/49 draws 6"},
        {audit + " --game 3/49+bonus", 2, "", "--bonus must name the column of the bonus"},
        {audit + " --game 3/49 --second n2", 2, "", "--second: 3/49 has no second pool"},
        {audit + " --game 3/49+1/5", 2, "", "--second must name the 1 columns"},
        {audit + " --ticket '1 2 50' --game 3/49", 2, "", "ticket refused: N3 is \"50\""},
        {audit + " --ticket '1 2 3 +'", 2, "", "ticket refused: this game has no second pool"},
        {"--audit-generator 10 --stream 43136", 2, "", "--stream goes up to 43135 with it"},
        {"--audit-generator 0", 2, "", "not in range 1 to 100000000"},
        {audit + " >/dev/full", 1, "", "loto-sim: the results cannot be written: No space"},
    });
    for (const std::string& written : {file, nul, latin, bad, header, wide, full, drawn}) {
        std::remove(written.c_str());
    }
}

// Without --game the pools are guessed from the columns and the numbers seen, and the output says
// so; standard input as "-"; a ticket tested against its tiers; the text's notes name each
// correction.
TEST(LotoSimAudit, GuessedPoolsAndTheText) {
    const std::string history = HistoryText(MakeDraws(400, false));
    const std::string file = Written("guess.csv", history);
    const auto text = RunSim("--locale en_US --audit - --date 1 --ticket 1,2,3,4,5,6" + kColumns,
                             "cat " + file + " | ");
    ASSERT_EQ(text.status, 0) << text.err;
    for (const std::string part :
         {"audit of \"-\": 400 draws of 6/49\nwarning: no --game: K = 6, the columns, and N = "
          "49, the greatest number seen, are guessed\n",
          "\nticket: 1 2 3 4 5 6\n", "\nticket              main ",
          "Pearson's X\u00b2 of the 49 numbers' counts is ",
          " times a chi-square of 48 degrees of freedom, hence the statistic X\u00b2 x 48/43\n",
          " pairs against 4.5745 \u03c7\u00b2(48) + 0.8353 \u03c7\u00b2(1127)",
          "*: gaps (main) calibrated on 1000 fair histories of the same length (fixed seed): p = ",
          "Holm's adjustment of the 10 p-values at "
          "alpha = 0.01: nothing is unlikely under fair draws; this does not show"}) {
        EXPECT_NE(text.out.find(part), std::string::npos) << part << "\n" << text.out;
    }
    const auto quiet = RunSim("--json --audit " + file + kColumns + " --calibrate 0");
    EXPECT_EQ(quiet.err,
              "loto-sim: warning: no --game: K = 6, the columns, and N = 49, the greatest number "
              "seen, are guessed\n");
    std::remove(file.c_str());
}

// The generator's own draws, which the transcription draws from the stream's start, and two
// streams side by side, pool by pool.
TEST(LotoSimAudit, TheGeneratorAndTwoStreams) {
    const Game game{.main = {5, 50}, .second = {2, 12}};
    const auto run = RunSim(
        "--json --audit-generator 3000 --game 5/50+2/12 --stream 2 "
        "--calibrate 19");
    ASSERT_EQ(run.status, 0) << run.err;
    const json audit = json::parse(run.out);
    GeneratorState state = *StreamStart(2);
    GeneratorState beside = *StreamStart(3);
    std::vector<std::vector<int>> main, second;
    std::vector<double> sums[2][2];  // by pool, then stream
    for (int d = 0; d < 3000; ++d) {
        const test::GameDraw draw = test::DrawGame(state, game);
        const test::GameDraw next = test::DrawGame(beside, game);
        main.push_back(draw.main);
        second.push_back(draw.second);
        for (int s = 0; s < 2; ++s) {
            const test::GameDraw& one = s == 0 ? draw : next;
            sums[0][s].push_back(std::accumulate(one.main.begin(), one.main.end(), 0.0));
            sums[1][s].push_back(std::accumulate(one.second.begin(), one.second.end(), 0.0));
        }
    }
    std::map<std::string, const json*> tests;
    for (const json& test : audit["tests"]) {
        tests.emplace(test["pool"].get<std::string>() + " " + test["name"].get<std::string>(),
                      &test);
    }
    for (const char* name : {"main stream overlap", "main stream correlation",
                             "second stream overlap", "second stream correlation"}) {
        EXPECT_EQ(tests.count(name), 1u) << name;
    }
    EXPECT_EQ(audit["tests"].size(), 9u + 9u + 4u);
    EXPECT_NEAR((*tests["main numbers"])["statistic"].get<double>(), NumbersStatistic(main, 50),
                1e-9);
    EXPECT_NEAR((*tests["second numbers"])["statistic"].get<double>(), NumbersStatistic(second, 12),
                1e-9);
    // Pearson's r of the two streams' sums, pool by pool.
    for (int pool = 0; pool < 2; ++pool) {
        const auto& [x, y] = sums[pool];
        const double mx = std::accumulate(x.begin(), x.end(), 0.0) / 3000;
        const double my = std::accumulate(y.begin(), y.end(), 0.0) / 3000;
        double sxy = 0, sxx = 0, syy = 0;
        for (std::size_t d = 0; d < x.size(); ++d) {
            sxy += (x[d] - mx) * (y[d] - my);
            sxx += (x[d] - mx) * (x[d] - mx);
            syy += (y[d] - my) * (y[d] - my);
        }
        const std::string name =
            pool == 0 ? "main stream correlation" : "second stream correlation";
        EXPECT_NEAR((*tests[name])["statistic"].get<double>(), sxy / std::sqrt(sxx * syy), 1e-12)
            << name;
    }
    EXPECT_EQ(audit["draws"], 3000);
    EXPECT_EQ(audit["game"], "5/50+2/12");
    // By default enough fair histories that each pool's gaps, alone, can reach alpha once Holm
    // has adjusted them over the 22 tests: 22 / (R + 1) under 0.01.
    const json byDefault =
        json::parse(RunSim("--json --audit-generator 1000 --game 5/50+2/12").out);
    int calibrated = 0;
    for (const json& test : byDefault["tests"]) {
        if (test["calibrated"] == true) {
            ++calibrated;
            EXPECT_LT(22.0 / (test["histories"].get<double>() + 1), 0.01);
            EXPECT_LE(test["histories"].get<double>(), 100000);
        }
    }
    EXPECT_EQ(calibrated, 2);
}

// A machine that glues 13 to 7 in a tenth of the draws that hold 7 is flagged by the pairs, and
// the text says what that does not mean: the README's run, on the file this test leaves in its
// folder.
TEST(LotoSimAudit, FlagsAGluedPairAsTheReadmeShows) {
    std::ofstream("audit-example.csv", std::ios::binary) << HistoryText(MakeDraws(5000, true));
    const std::string readme = ReadFile(LOTO_SOURCE_DIR "/README.md");
    const std::string prompt = "$ loto-sim ";
    const std::size_t start = readme.find(prompt + "--audit audit-example.csv");
    ASSERT_NE(start, std::string::npos);
    const std::size_t from = readme.find('\n', start) + 1;
    const std::string shown = readme.substr(from, readme.find("```", from) - from);
    const std::string command =
        readme.substr(start + prompt.size(), from - 1 - start - prompt.size());
    const auto run = RunSim(command);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, shown);
    EXPECT_NE(run.out.find("pairs extreme (main, Holm p = "), std::string::npos);
    EXPECT_NE(run.out.find("unlikely under fair draws; this is not the probability that the draws "
                           "are unfair"),
              std::string::npos);
    EXPECT_EQ(json::parse(RunSim(command + " --json").out)["flagged"], true);
}

// --csv: a line a test; --svg: the gaps' bars and each number's last deviation as a plain count of
// the file gives them, a chart that rsvg-convert renders without a word.
TEST(LotoSimAudit, CsvAndCharts) {
    const Draws draws = MakeDraws(800, false);
    const std::string file = Written("chart.csv", HistoryText(draws));
    const std::string svg = "/tmp/loto-audit-" + std::to_string(getpid()) + ".svg";
    const std::string audit = "--audit " + file + kColumns + " --date date --game 6/49";
    const auto csv = RunSim("--csv --svg " + svg + " " + audit);
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 10);
    const std::string header =
        "test,pool,statistic,df,p_value,p_holm,calibrated,p_low,p_high,histories,ticket\n"
        "numbers,main,";
    EXPECT_EQ(csv.out.substr(0, header.size()), header);
    EXPECT_EQ(Shell("rsvg-convert " + svg + " 2>&1 >/dev/null").out, "");
    const std::string chart = ReadFile(svg);
    // The draws oldest first; gaps from each appearance to the next, the longest pooled at the
    // last bar.
    std::map<int, int> last, gaps;
    for (int t = 0; t < 800; ++t) {
        for (const int n : draws.main[static_cast<std::size_t>(799 - t)]) {
            if (last.count(n) != 0) {
                ++gaps[t - last[n]];
            }
            last[n] = t;
        }
    }
    for (const int gap : {1, 2, 10, 20}) {
        EXPECT_NE(chart.find("data-gap=\"" + std::to_string(gap) + "\" data-value=\"" +
                             std::to_string(gaps[gap]) + "\""),
                  std::string::npos)
            << gap;
    }
    int ones = 0;
    for (const auto& draw : draws.main) {
        ones += static_cast<int>(std::ranges::count(draw, 1));
    }
    char lastDeviation[64];
    std::snprintf(lastDeviation, sizeof lastDeviation, "data-number=\"1\" data-last=\"%g\"",
                  100 * (ones / (800 * 6 / 49.0) - 1));
    EXPECT_NE(chart.find(lastDeviation), std::string::npos) << lastDeviation;
    // Each number's path runs across the plot, from its left edge to its right.
    const auto from = chart.find("points=\"", chart.find(lastDeviation)) + 8;
    const std::string points = chart.substr(from, chart.find('"', from) - from);
    EXPECT_EQ(points.substr(0, 6), "80.00,") << points;
    EXPECT_EQ(points.substr(points.rfind(' ', points.size() - 2) + 1, 7), "620.00,") << points;
    std::remove(svg.c_str());
    std::remove(file.c_str());
}

}  // namespace
}  // namespace loto
