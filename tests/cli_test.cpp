// loto-sim as a user runs it: exit status, output and JSON.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace {

struct Result {
    int status = -1;
    std::string out;
};

// Runs loto-sim with the given arguments (already quoted for the shell), standard error dropped.
Result RunSim(const std::string& arguments, const std::string& input = "") {
    const std::string command = (input.empty() ? "" : "printf '" + input + "' | ") +
                                std::string(LOTO_SIM) + " " + arguments + " 2>/dev/null";
    Result result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        result.out.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<nlohmann::json> JsonLines(const std::string& out) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(nlohmann::json::parse(line));
    }
    return lines;
}

TEST(LotoSim, ExitStatus) {
    const std::pair<const char*, int> cases[] = {
        {"1000 7 10 14 20 30 40", 0},
        {"0 1 2 3 4 5 6", 0},
        {"--repeat 2 10 1 2 3 4 5 6", 0},
        {"10 7 8 9 10 11 7", 1},   // refused grid
        {"1e999 1 2 3 4 5 6", 1},  // unreadable count
        {"10 1 2 3 4 5 1e999", 1},
        {"", 2},
        {"10 1 2 3", 2},
        {"10 1 2 3 4 5 6 7", 2},
        {"--bogus 10 1 2 3 4 5 6", 2},
        {"--repeat 0 10 1 2 3 4 5 6", 2},
        {"--repeat x 10 1 2 3 4 5 6", 2},
        {"--locale xx_NOPE 10 1 2 3 4 5 6", 2},
        {"--batch 10 1 2 3 4 5 6", 2},
        {"--threads 2 10 1 2 3 4 5 6", 0},
        {"--threads -1 10 1 2 3 4 5 6", 2},
        {"--version", 0},
        {"--help", 0},
    };
    for (const auto& [arguments, status] : cases) {
        EXPECT_EQ(RunSim(arguments).status, status) << arguments;
    }
}

TEST(LotoSim, PrintsVersion) {
    EXPECT_EQ(RunSim("--version").out, "1.00\n");
}

TEST(LotoSim, JsonHoldsTheWindowTexts) {
    const Result result = RunSim("--json --locale fr_FR --repeat 2 100 1 2 3 4 5 6");
    ASSERT_EQ(result.status, 0);
    const std::vector<nlohmann::json> commands = JsonLines(result.out);
    ASSERT_EQ(commands.size(), 2u);
    const nlohmann::json& first = commands[0];
    EXPECT_TRUE(first["valid"].get<bool>());
    EXPECT_EQ(first["observed"], nlohmann::json({"43", "47", "9", "1", "0", "0", "0"}));
    EXPECT_EQ(first["expected"][0], "43,5965");
    EXPECT_EQ(first["deviation"][6], "-100,");
    EXPECT_EQ(first["draws"], 100);
    EXPECT_GE(first["seconds"].get<double>(), 0.0);
    EXPECT_FALSE(first["estimate"].get<std::string>().empty());
    EXPECT_EQ(commands[1]["observed"], nlohmann::json({"44", "41", "14", "1", "0", "0", "0"}));

    const nlohmann::json english =
        JsonLines(RunSim("--json --locale en_US 100 1 2 3 4 5 6").out)[0];
    EXPECT_EQ(english["expected"][0], "43.5965");

    const nlohmann::json refused = JsonLines(RunSim("--json 10 7 8 9 10 11 7").out)[0];
    EXPECT_FALSE(refused["valid"].get<bool>());
    EXPECT_EQ(refused["estimate"], "");
    EXPECT_EQ(refused["observed"], nlohmann::json({"", "", "", "", "", "", ""}));
    EXPECT_EQ(refused["draws"], 0);
}

// Any number of threads draws the same numbers.
TEST(LotoSim, ThreadsChangeNothingButTheSpeed) {
    const auto observed = [](const char* threads) {
        const std::vector<nlohmann::json> runs =
            JsonLines(RunSim(std::string("--json --repeat 2 --threads ") + threads +
                             " 2000000 7 10 14 20 30 40")
                          .out);
        return nlohmann::json{runs.at(0)["observed"], runs.at(1)["observed"]};
    };
    const nlohmann::json one = observed("1");
    EXPECT_EQ(observed("2"), one);
    EXPECT_EQ(observed("3"), one);
}

// A long run from the seed is what chance gives: its chi-square p-value is not extreme.
TEST(LotoSim, StatsOfALongRunLookLikeChance) {
    const Result result = RunSim("--json --stats 1000000 7 10 14 20 30 40");
    ASSERT_EQ(result.status, 0);
    const nlohmann::json stats = JsonLines(result.out).at(0)["stats"];
    EXPECT_EQ(stats["df"], 5);
    EXPECT_EQ(stats["groups"].back(), nlohmann::json({5, 6}));
    const double p = stats["p_value"].get<double>();
    EXPECT_GT(p, 0.01);
    EXPECT_LT(p, 0.99);
    for (const auto& z : stats["z"]) {
        EXPECT_LT(std::fabs(z.get<double>()), 4.0);
    }
}

TEST(LotoSim, CsvHasAHeaderAndOneLinePerK) {
    const Result result = RunSim("--csv --stats --repeat 2 100 1 2 3 4 5 6");
    ASSERT_EQ(result.status, 0);
    std::istringstream in(result.out);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "command,k,observed,expected,deviation,z,p,chi_square,df,chi_square_p");
    std::vector<std::string> rows;
    while (std::getline(in, line)) {
        rows.push_back(line);
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 9) << line;
    }
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows[0].rfind("1,0,43,43.596497,-1.3682214,", 0), 0u) << rows[0];
    EXPECT_EQ(rows[7].rfind("2,0,44,", 0), 0u) << rows[7];
    EXPECT_EQ(RunSim("--csv --json 10 1 2 3 4 5 6").status, 2);
}

TEST(LotoSim, BatchRunsOneCommandPerLineLikeRepeatedClicks) {
    const Result batch =
        RunSim("--json --batch", "100;1;2;3;4;5;6\\n\\n100;1;2;3;4;5;6\\n1 000;12abc;2;3;4;5;6\\n");
    ASSERT_EQ(batch.status, 0);
    const std::vector<nlohmann::json> commands = JsonLines(batch.out);
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[1]["observed"], nlohmann::json({"44", "41", "14", "1", "0", "0", "0"}));
    EXPECT_EQ(commands[2]["draws"], 1000);

    EXPECT_EQ(RunSim("--batch", "100;1;2;3\\n").status, 2);
    EXPECT_EQ(RunSim("--batch", "100;1;2;3;4;5;5\\n100;1;2;3;4;5;6\\n").status, 1);
}

}  // namespace
