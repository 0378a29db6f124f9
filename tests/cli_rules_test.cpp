// loto-sim --rules, --jackpot and --rounds as a user runs them: the example files of four
// lotteries, files that cannot be rules, and the process the same on any threads and stream.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/support/loto_sim.h"

namespace loto {
namespace {

using nlohmann::json;
using test::ExpectRuns;
using test::RunSim;
using test::Shell;

const std::string kExamples = LOTO_SOURCE_DIR "/examples/rules/";

// Each example loads and says its return with and without sharing and tax, and its break-even
// jackpot.
TEST(LotoSimRules, TheExamplesPlay) {
    const std::pair<const char*, const char*> examples[] = {
        {"canada-6-49.json", "1 2 3 4 5 6"},
        {"euromillions.json", "1 2 3 4 5 + 1 2"},
        {"us-5-69-1-26.json", "1 2 3 4 5 + 1"},
        {"france-5-49-1-10.json", "1 2 3 4 5 + 1"},
    };
    for (const auto& [file, ticket] : examples) {
        const auto run = RunSim("--json --rules " + kExamples + file + " 1000 " + ticket);
        ASSERT_EQ(run.status, 0) << file << run.err;
        const json money = json::parse(run.out)["money"];
        EXPECT_GT(money["expected_return_shared"].get<double>(), 0) << file;
        EXPECT_LT(money["return_rate_shared"].get<double>(), money["return_rate"].get<double>())
            << file;
        EXPECT_GT(money["break_even_jackpot"].get<double>(), 1e6) << file;
        EXPECT_NE(RunSim("--rules " + kExamples + file + " 1000 " + ticket)
                      .out.find("shared with the other winners and taxed: return "),
                  std::string::npos);
    }
    // A larger jackpot than the file's: more to share, a higher return.
    const std::string euro = "--json --rules " + kExamples + "euromillions.json ";
    const auto rate = [&](const std::string& options) {
        return json::parse(RunSim(euro + options + " 10 1 2 3 4 5 + 1 2")
                               .out)["money"]["return_rate_shared"]
            .get<double>();
    };
    EXPECT_GT(rate("--jackpot 150000000"), rate(""));
    // The README's run, as it shows it.
    const std::string readme = test::ReadFile(LOTO_SOURCE_DIR "/README.md");
    const std::size_t start = readme.find("$ loto-sim --locale en_US --rules examples/");
    ASSERT_NE(start, std::string::npos);
    const std::size_t from = readme.find("\n", readme.find("\n", start) + 1) + 1;
    std::string command = readme.substr(start + 2, from - 1 - start - 2);
    command.replace(command.find("\\\n"), 2, "");
    command.replace(command.find("loto-sim"), 8, "cd " LOTO_SOURCE_DIR " && " LOTO_SIM);
    EXPECT_EQ(Shell(command).out, readme.substr(from, readme.find("```", from) - from));
}

// What cannot be rules: refused with the field or the reason, status 2, nothing printed.
TEST(LotoSimRules, FilesThatAreNoRules) {
    const std::string dir = "/tmp/loto-rules-" + std::to_string(getpid());
    Shell("mkdir -p " + dir + " && truncate -s 1G " + dir + "/huge.json && printf '%s' " +
          "'{\"game\": \"6/49\", \"price\": -3, \"tiers\": {\"6\": {\"fixed\": 1}}}' > " + dir +
          "/negative.json && printf '{\"price\": NaN}' > " + dir + "/nan.json");
    const std::string ticket = " 10 1 2 3 4 5 6";
    ExpectRuns({
        {"--rules " + dir + "/negative.json" + ticket, 2, "", "price: -3 is negative"},
        {"--rules " + dir + "/nan.json" + ticket, 2, "", "the file is not JSON"},
        {"--rules " + dir + "/huge.json" + ticket, 2, "", "is larger than a megabyte"},
        {"--rules " + dir + ticket, 2, "", "is a directory"},
        {"--rules " + dir + "/none.json" + ticket, 2, "", "cannot be read"},
        {"--jackpot 1000" + ticket, 2, "", "--jackpot requires --rules"},
        {"--rules " + kExamples + "canada-6-49.json --game 6/49" + ticket, 2, "",
         "--game: the rules are of 6/49+bonus"},
        {"--rules " + kExamples + "canada-6-49.json --rounds 10 10 1 2 3 4 5 6 7", 2, "",
         "--rounds plays a ticket of 6 numbers, one combination"},
    });
    Shell("rm -r " + dir);
}

// The lottery as a process: its last line, the same on one thread as on two and from one run of
// a stream to the next, another on another stream; its chart marks the ticket's wins.
TEST(LotoSimRules, RoundsTheSameOnAnyThreads) {
    const std::string rounds =
        "--json --rules " + kExamples + "euromillions.json --rounds 200000 100 3 14 25 36 47 + 2 9";
    const auto last = [](const std::string& out) {
        return json::parse(out.substr(out.rfind('\n', out.size() - 2) + 1))["rounds"];
    };
    const json one = last(RunSim("--threads 1 " + rounds).out);
    EXPECT_EQ(one, last(RunSim("--threads 2 " + rounds).out));
    EXPECT_EQ(one["draws"], 200000);
    EXPECT_GT(one["jackpot_wins"].get<int>(), 0);
    EXPECT_NEAR(one["mean_draws_between"].get<double>(),
                one["law_mean_draws_between"].get<double>(),
                0.1 * one["law_mean_draws_between"].get<double>());
    EXPECT_DOUBLE_EQ(one["spent"].get<double>(), 200000 * 2.5);
    const json third = last(RunSim("--stream 3 " + rounds).out);
    EXPECT_EQ(third, last(RunSim("--stream 3 " + rounds).out));
    EXPECT_NE(third["won"], one["won"]);
    const std::string svg = "/tmp/loto-rounds-" + std::to_string(getpid()) + ".svg";
    ASSERT_EQ(RunSim("--svg " + svg + " " + rounds).status, 0);
    EXPECT_EQ(Shell("rsvg-convert " + svg + " 2>&1 >/dev/null").out, "");
    EXPECT_NE(test::ReadFile(svg).find("class=\"win\""), std::string::npos);
    std::remove(svg.c_str());
}

}  // namespace
}  // namespace loto
