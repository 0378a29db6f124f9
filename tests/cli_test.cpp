// loto-sim as a user runs it: exit status, output and JSON.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <numeric>
#include <sstream>
#include <string>

#include "tests/shell.h"

namespace {

using loto::test::Shell;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs loto-sim with the given arguments (already quoted for the shell, redirections allowed),
// `input` (printf escapes) on its standard input.
Result RunSim(const std::string& arguments, const std::string& input = "") {
    char errPath[] = "/tmp/loto-sim-err-XXXXXX";
    close(mkstemp(errPath));
    const std::string command = (input.empty() ? "" : "printf '" + input + "' | ") +
                                std::string(LOTO_SIM) + " " + arguments + " 2>" + errPath;
    const auto run = Shell(command);
    std::ifstream errFile(errPath);
    std::string err((std::istreambuf_iterator<char>(errFile)), std::istreambuf_iterator<char>());
    std::remove(errPath);
    return {run.status, run.out, err};
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
    EXPECT_EQ(line,
              "command,k,observed,expected,deviation,z,p,chi_square,df,chi_square_p,interrupted");
    std::vector<std::string> rows;
    while (std::getline(in, line)) {
        rows.push_back(line);
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 10) << line;
    }
    ASSERT_EQ(rows.size(), 14u);
    // The deviation keeps every digit of its Double; the expected count is a Single.
    EXPECT_EQ(rows[0].rfind("1,0,43,43.596497,-1.3682213682213682,", 0), 0u) << rows[0];
    EXPECT_EQ(rows[0].substr(rows[0].size() - 2), ",0");
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

namespace {

// The text that people read: the table, the refusal, the pooled classes, the messages.
TEST(LotoSim, TextOutputAndMessages) {
    const Result run = RunSim("--locale fr_FR --stats 1000 7 10 14 20 30 40");
    EXPECT_NE(run.out.find(" k            observed            expected     deviation %         z"
                           "           p\n 0                 399             435,965        "
                           "-8,47888    -2.357     0.01831\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("chi-square: 6.1166 with 3 degrees of freedom, p = 0.1061\n  k = 3 to "
                           "6 pooled: expected counts under 5 (together 18.64)\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("GRILLE"), std::string::npos);

    const Result refused = RunSim("10 1 2 3 4 5 5");
    EXPECT_NE(refused.out.find("\nGRILLE NON VALIDE : N\u00B0 1 \u00E0 49 ET TOUS DIFFERENTS "
                               "S.V.P\n"),
              std::string::npos)
        << refused.out;

    // Unreadable numbers are named by their box and echoed safely: no control byte, cut short.
    const std::pair<const char*, const char*> unreadable[] = {
        {"1e999 1 2 3 4 5 6", "the number in DRAWS is beyond the range of numbers: \"1e999\"\n"},
        {"10 1 2 3 1e999 5 6", "the number in G4 is beyond the range of numbers: \"1e999\"\n"},
        {"10 1 2 3 4 5 \"$(printf '1e999\\033]0;x\\007')\"",
         "in G6 is beyond the range of numbers: \"1e999\\x1B]0;x\\x07\"\n"},
        {"10 1 2 3 4 5 1e999$(printf 'x%.0s' $(seq 100))",
         ": \"1e999xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"...\n"},
    };
    for (const auto& [arguments, message] : unreadable) {
        const Result run = RunSim(arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
    }
}

// Results that cannot be written, and an input that cannot be read, end with a message and
// status 1, never as a success.
TEST(LotoSim, LostOutputAndUnreadableInputAreFailures) {
    const std::pair<const char*, const char*> cases[] = {
        {"1000 7 10 14 20 30 40 > /dev/full", "the results cannot be written"},
        {"--csv 1000 7 10 14 20 30 40 > /dev/full", "the results cannot be written"},
        {"--repeat 3 1000 7 10 14 20 30 40 >&-", "the results cannot be written"},
        {"--batch < /", "standard input cannot be read: Is a directory"},
        {"--batch <&-", "standard input cannot be read"},
    };
    for (const auto& [arguments, message] : cases) {
        const Result run = RunSim(arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
    }
    // Once the output is lost, nothing more is drawn: 1000 commands of a second each would
    // otherwise run for nobody.
    const auto closed = Shell("{ (trap '' PIPE; " + std::string(LOTO_SIM) +
                              " --repeat 1000 5e7 1 2 3 4 5 6 2>/dev/null; echo $? >&3) | true; } "
                              "3>&1");
    EXPECT_EQ(closed.out, "1\n");
}

// A hostile line is refused at once, whatever its length; the count is that of its fields.
TEST(LotoSim, HostileBatchLineIsRefusedAtOnce) {
    char path[] = "/tmp/loto-sim-hostile-XXXXXX";
    const int fd = mkstemp(path);
    const std::string line(20'000'000, ';');
    ASSERT_EQ(write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    close(fd);
    const Result run = RunSim(std::string("--batch < ") + path);
    std::remove(path);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("line 1: expected 7 fields separated by ';', found 20000001"),
              std::string::npos)
        << run.err;
}

// Threads that the system cannot start leave the run to those that did, with a word on stderr.
TEST(LotoSim, ThreadsThatCannotStart) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs more address space than the limit leaves";
#endif
    const auto run = Shell("ulimit -v 400000; " + std::string(LOTO_SIM) +
                           " --json --threads 64 2000000 7 10 14 20 30 40 2>&1");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("threads asked for could start"), std::string::npos) << run.out;
    const std::string result = run.out.substr(run.out.find('{'));
    EXPECT_EQ(
        nlohmann::json::parse(result)["observed"],
        JsonLines(RunSim("--json --threads 1 2000000 7 10 14 20 30 40").out).at(0)["observed"]);
}

// Ctrl-C or SIGTERM: the running command is reported with what it drew so far, the commands
// before it stay as printed, and the status tells which signal it was.
TEST(LotoSim, InterruptReportsTheDrawsSoFar) {
    const std::string batch = "1000;7;10;14;20;30;40\\n1e12;1;2;3;4;5;6\\n";
    const auto interrupted = [&](const char* signal, const char* format) {
        const std::string command = "printf '" + batch + "' | timeout -s " + signal +
                                    " --preserve-status 1 " + LOTO_SIM + " --batch " + format +
                                    " 2>/dev/null";
        return Shell(command);
    };
    const auto json = interrupted("INT", "--json");
    EXPECT_EQ(json.status, 130);
    const std::vector<nlohmann::json> commands = JsonLines(json.out);
    ASSERT_EQ(commands.size(), 2u) << json.out;
    EXPECT_FALSE(commands[0]["interrupted"].get<bool>());
    EXPECT_EQ(commands[0]["observed"], nlohmann::json({"399", "444", "135", "22", "0", "0", "0"}));
    EXPECT_TRUE(commands[1]["interrupted"].get<bool>());
    std::uint64_t sum = 0;
    for (const auto& count : commands[1]["observed"]) {
        sum += std::stoull(count.get<std::string>());
    }
    EXPECT_GT(sum, 0u);
    EXPECT_EQ(sum, commands[1]["draws"].get<std::uint64_t>());

    const auto text = interrupted("TERM", "");
    EXPECT_EQ(text.status, 143);
    EXPECT_NE(text.out.find("interrupted after "), std::string::npos) << text.out;

    const auto csv = interrupted("INT", "--csv");
    EXPECT_EQ(csv.status, 130);
    EXPECT_NE(csv.out.find(",-100,0\n2,0,"), std::string::npos) << csv.out;
    EXPECT_EQ(csv.out.substr(csv.out.size() - 3), ",1\n") << csv.out;
}

// On a terminal, a long run says when it will end, shows its progress, then its results.
TEST(LotoSim, TerminalShowsTheEstimateAndProgress) {
    const auto run = Shell("script -qec '" + std::string(LOTO_SIM) +
                           " --threads 1 1.3e8 1 2 3 4 5 6' /dev/null");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("expected end: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\rdraws: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("draws: 130000000 in "), std::string::npos) << run.out;
}

}  // namespace
