#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/shell.h"

namespace loto::test {

// Runs loto-sim with the given arguments (quoted for the shell, redirections and pipes allowed),
// after `before`, the start of the command line ("printf x | ", "ulimit -f 1; ").
inline ShellResult RunSim(const std::string& arguments, const std::string& before = "") {
    return Shell(before + LOTO_SIM + " " + arguments);
}

// A run of loto-sim and what it must give: its exit status, and a part of what it writes on
// standard output and on standard error, where "" means that nothing is written there.
struct Expected {
    std::string arguments;
    int status;
    std::string out;
    std::string err;
    std::string before = "";  // the start of the command line, as for RunSim
};

// A run whose command line starts with `before`, written first as it runs first.
inline Expected After(std::string before, Expected run) {
    run.before = std::move(before);
    return run;
}

inline void ExpectRuns(const std::vector<Expected>& runs) {
    for (const Expected& e : runs) {
        const auto run = RunSim(e.arguments, e.before);
        EXPECT_EQ(run.status, e.status) << e.arguments;
        for (const auto& [said, part] : {std::pair{run.out, e.out}, std::pair{run.err, e.err}}) {
            EXPECT_TRUE(part.empty() ? said.empty() : said.find(part) != std::string::npos)
                << e.arguments << ": " << said;
        }
    }
}

// The chart that loto-sim writes for `arguments`, which rsvg-convert renders without a warning.
inline std::string Chart(const std::string& arguments) {
    char path[] = "/tmp/loto-sim-chart-XXXXXX";
    close(mkstemp(path));
    const auto run = RunSim("--svg " + std::string(path) + " " + arguments);
    EXPECT_EQ(run.status, 0) << arguments;
    EXPECT_EQ(run.err, "") << arguments;
    EXPECT_EQ(Shell("rsvg-convert " + std::string(path) + " 2>&1 >/dev/null").out, "");
    std::string svg = ReadFile(path);
    std::remove(path);
    return svg;
}

}  // namespace loto::test
