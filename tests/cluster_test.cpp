#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/support/loto_sim.h"

namespace loto {
namespace {

// What a run prints less its times: the estimate, the seconds and the rate, which no two runs
// share.
std::string Untimed(const std::string& printed) {
    static const std::regex times(
        R"(estimate: [^\n]*\n|draws: \d+ in [^\n]*\n|"seconds":[^,}]*|"estimate":"[^"]*")");
    return std::regex_replace(printed, times, "");
}

// loto-sim under mpirun, as root where the tests run as root, its ranks on the cores there are.
test::ShellResult Mpirun(int ranks, const std::string& arguments) {
    return test::Shell("OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 mpirun -n " +
                       std::to_string(ranks) + " --oversubscribe " + LOTO_SIM + " " + arguments);
}

// On 1, 2 and 3 ranks, and threads within them, every mode that draws prints what one process on
// one thread prints, to the byte but for the times: the ranks' blocks joined in order, the first
// draws of tiers and an `until` tier found where one process finds them, the generator carried
// over the commands, and the audit's calibrations counted in parts.
TEST(Cluster, RanksPrintWhatOneProcessPrints) {
    const std::string draws = " 30000000 3 11 19 27 35 43";
    for (const std::string& arguments :
         {"--json --repeat 3 --stats" + draws, "--csv --stream 7" + draws,
          "--game 6/49+bonus --price 2 --prize 6=1000000 --prize 5+b=50000" + draws,
          std::string("--json --game 5/50+2/12 --repeat 2 20000000 1 2 3 4 5 + 1 2"),
          std::string("--game 5/69+1/26 --until 5+1 --repeat 3 300000000 1 2 3 4 5 + 1"),
          std::string("--game 20/70 --price 1 --prize 10=100000 --prize 9=1000 --lifetimes 3 "
                      "5000000 1 2 3 4 5 6 7 8 9 10"),
          std::string("--json --game 6/90 --until 5 --price 1 --prize 5=1000 20000000 1 2 3 4 5 6"),
          "--batch --json < " + std::string(LOTO_SOURCE_DIR) + "/tests/support/cluster_batch.txt",
          std::string("--json --audit-generator 3000 --game 5/50+2/12 --calibrate 3000"),
          std::string("--audit-generator 2000 --stream 4")}) {
        const test::ShellResult alone = test::RunSim("--threads 1 " + arguments);
        ASSERT_EQ(alone.status, 0) << arguments << ": " << alone.err;
        for (const int ranks : {1, 2, 3}) {
            // Two threads a rank on two ranks: as many as one.
            const std::string threads = ranks == 2 ? "--threads 2 " : "--threads 1 ";
            const test::ShellResult shared = Mpirun(ranks, threads + arguments);
            EXPECT_EQ(shared.status, 0) << ranks << " ranks, " << arguments << ": " << shared.err;
            EXPECT_EQ(Untimed(shared.out), Untimed(alone.out)) << ranks << " ranks, " << arguments;
        }
    }
}

// A usage error is rank 0's alone, said once, with its status.
TEST(Cluster, RefusalsSaidOnce) {
    const test::ShellResult refused = Mpirun(2, "--lifetimes 3 1000 1 2 3 4 5 6");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    const std::string said = "--lifetimes needs a --price or a --prize";
    const auto first = refused.err.find(said);
    ASSERT_NE(first, std::string::npos) << refused.err;
    EXPECT_EQ(refused.err.find(said, first + 1), std::string::npos) << refused.err;
}

}  // namespace
}  // namespace loto
