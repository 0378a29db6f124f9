// loto-sim as a user runs it: exit status, what it prints and says, JSON and CSV, on a terminal,
// interrupted, and with its output lost.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <tuple>

#include "tests/support/loto_sim.h"

namespace {

using loto::test::After;
using loto::test::Chart;
using loto::test::Expected;
using loto::test::ExpectRuns;
using loto::test::ReadFile;
using loto::test::RunSim;
using loto::test::Shell;
using nlohmann::json;

// The table of the window's texts, with the significance of each row when asked, in the forms of
// the user's locale.
TEST(LotoSim, PrintsTheWindowsTexts) {
    ExpectRuns({
        {"--locale fr_FR 1000 7 10 14 20 30 40", 0,
         " k            observed            expected     deviation %\n 0                 399   "
         "          435,965        -8,47888\n",
         ""},
        {"--locale fr_FR --stats 1000 7 10 14 20 30 40", 0,
         "deviation %         z           p\n 0                 399             435,965        "
         "-8,47888    -2,357     0,01831\n",
         ""},
        {"--locale fr_FR --stats 1000 7 10 14 20 30 40", 0,
         "-0,008           1\nchi-square: 6,1166 with 3 degrees of freedom, p = 0,1061\n"
         "  k = 3 to 6 pooled: expected counts under 5 (together 18,64)\n",
         ""},
        {"--stats 10 1 2 3 4 5 6", 0,
         "\nchi-square: not enough draws, every class pooled into one\n", ""},
        {"--locale POSIX 100 1 2 3 4 5 6", 0, "            43,5965", ""},
        {"--locale C.UTF-8 100 1 2 3 4 5 6", 0, "            43,5965", ""},
        {"--locale en_US 100 1 2 3 4 5 6", 0, "            43.5965", ""},
        // Columns aligned by characters: the Arabic decimal separator takes two bytes.
        {"--locale ar_EG 100 1 2 3 4 5 6", 0,
         "\n 0                  43             43\u066B5965        -1\u066B36822\n", ""},
        // A stream of its own: other draws, said in every output; none past the last.
        {"--stream 43136 100 1 2 3 4 5 6", 0, "stream: 43136\nestimate: ", ""},
        {"--version", 0, "loto-sim 1.00\n", ""},
        {"--help", 0, "Ctrl-C", ""},
        // The generator's words from the seed: floor(u x 2^32) of the first uniforms,
        // little-endian.
        {"--raw --count 3 | od --endian=little -An -tu4", 0, "  802643100  539956219 1571571894\n",
         ""},
    });
}

// The figures behind the texts, every digit kept: the deviation a Double, the expected count a
// Single; the second command goes on from where the first left the generator.
TEST(LotoSim, CsvHoldsTheFigures) {
    ExpectRuns({
        {"--csv --stats --repeat 2 100 1 2 3 4 5 6", 0,
         "stream,command,k,observed,expected,deviation,z,p,chi_square,df,chi_square_p,"
         "interrupted\n0,1,0,43,"
         "43.596497,-1.3682213682213682,-0.12029008407700592,0.920100130738984,2.5176613948961517,"
         "2,0.2839858978680259,0\n",
         ""},
        {"--csv --repeat 2 100 1 2 3 4 5 6", 0,
         "\n0,1,6,0,7.151124e-06,-100,0\n0,2,0,44,43.596497,0.9255409255409255,0\n", ""},
        {"--csv --stream 1 100 1 2 3 4 5 6", 0, "\n1,1,0,51,43.596497,", ""},
        // No draw: no deviation, z or p can be formed, and none is written.
        {"--csv --stats 0 1 2 3 4 5 6", 0, "\n0,1,0,0,0,,,,,,,0\n", ""},
    });
}

// The significance of a tally is given whenever the command drew, stopped or not, with the same
// keys; null when nothing was drawn (the interrupted case is in InterruptReportsTheDrawsSoFar).
TEST(LotoSim, StatsWheneverSomethingWasDrawn) {
    ExpectRuns({
        {"--json --stats 1000000 7 10 14 20 30 40", 0,
         "\"df\":5,\"groups\":[[0,0],[1,1],[2,2],[3,3],[4,4],[5,6]],", ""},
        {"--json --stats 10 1 2 3 4 5 6", 0,
         "\"stats\":{\"chi_square\":null,\"df\":null,\"groups\":[[0,6]],\"p\":[", ""},
        {"--json --stats 0 1 2 3 4 5 6", 0, "\"stats\":null,", ""},
        {"--json --stats 10 7 8 9 10 11 7", 1, "\"stats\":null,", "grid refused"},
        {"--stats 0 1 2 3 4 5 6", 0,
         "\nstatistics: nothing drawn, nothing to test\ndraws: 0 in 0,000 s (0 draws/s)\n", ""},
    });
}

// Every whole number of an option is read in decimal, leading zeros and all, and any other text
// is refused with its value quoted; never a silent other number (CLI11 alone reads 010 as 8).
TEST(LotoSim, ReadsWholeNumbersInDecimal) {
    ExpectRuns({
        {"--json --stream 010 100 1 2 3 4 5 6", 0, "\"stream\":10,", ""},
        {"--json --stream 00043136 100 1 2 3 4 5 6", 0, "\"stream\":43136,", ""},
        {"--stream 08 10 1 2 3 4 5 6", 0, "stream: 8\n", ""},
        {"--csv --repeat 010 10 1 2 3 4 5 6", 0, "\n0,10,6,", ""},
        {"--raw --count 0100 | wc -c", 0, "400\n", ""},
        {"--stream 43137 100 1 2 3 4 5 6", 2, "", "\"43137\" is not in range 0 to 43136"},
        {"--threads 0x10 10 1 2 3 4 5 6", 2, "", "--threads: \"0x10\" is not a whole number\n"},
        {"--threads 4.0 10 1 2 3 4 5 6", 2, "", "--threads: \"4.0\" is not a whole number\n"},
        {"--threads -1 10 1 2 3 4 5 6", 2, "", "\"-1\" is not a whole number"},
        {"--threads 1025 10 1 2 3 4 5 6", 2, "", "\"1025\" is not in range 0 to 1024\n"},
        {"--repeat 0 10 1 2 3 4 5 6", 2, "", "\"0\" is not in range 1 to 1000000"},
        {"--count '' --raw", 2, "", "--count: \"\" is not a whole number"},
        {"--count 18446744073709551616 --raw", 2, "", "not in range 0 to 18446744073709551615"},
    });
}

// What cannot be run is refused with status 2 and a word that says why, echoed safely; nothing
// is drawn.
TEST(LotoSim, RefusesWhatCannotWork) {
    ExpectRuns({
        {"", 2, "", "expected DRAWS and six favourite numbers"},
        {"10 1 2 3 4 5 6 7", 2, "", "At Most 7 required but received 8"},
        {"--locale xx_NOPE 10 1 2 3 4 5 6", 2, "", "unknown locale"},
        {"--locale \"$(printf '\\033]0;x\\007')\" 10 1 2 3 4 5 6", 2, "",
         "unknown locale: \"\\x1B]0;x\\x07\"\n"},
        {"--rep 2 10 1 2 3 4 5 6", 2, "", "unknown option \"--rep\"; did you mean --repeat?\n"},
        {"\"$(printf -- '--\\033[31mfoo')\" 10 1 2 3 4 5 6", 2, "",
         "unknown option \"--\\x1B[31mfoo\"\n"},
        {"-3 1 2 3 4 5 6", 2, "", "a value starting with '-' goes after --"},
        // Options that cannot work together, refused rather than ignored.
        {"--batch 10 1 2 3 4 5 6", 2, "", "excludes"},
        {"--batch --repeat 3", 2, "", "--repeat excludes --batch"},
        {"--csv --json 10 1 2 3 4 5 6", 2, "", "--json excludes --csv"},
        {"--raw --svg /tmp/none.svg", 2, "", "--svg excludes --raw"},
        {"--raw --stats", 2, "", "--stats excludes --raw"},
        {"--count 3 10 1 2 3 4 5 6", 2, "", "--count requires --raw"},
        // A flag takes no value, rather than one that is not honoured; a chart is not written
        // to a file named as the option that follows (./--json is one).
        {"--batch=false", 2, "", "--batch takes no value: \"false\"\n"},
        {"--stats=2 10 1 2 3 4 5 6", 2, "", "--stats takes no value: \"2\"\n"},
        {"--svg --json 100 1 2 3 4 5 6", 2, "",
         "--svg needs a FILE, not \"--json\"; a file of that name is ./--json\n"},
        {"--svg=-x 100 1 2 3 4 5 6", 2, "", "--svg needs a FILE, not \"-x\""},
        {"--svg - 100 1 2 3 4 5 6", 2, "", "--svg needs a FILE, not \"-\""},
        // An empty value after '=' is that value, refused, never the next argument.
        {"--svg= --json 100 1 2 3 4 5 6", 2, "", "--svg: an empty file name\n"},
        {"--svg= -- 100 1 2 3 4 5 6", 2, "", "--svg: an empty file name\n"},
        {"--svg '' 100 1 2 3 4 5 6", 2, "", "--svg: an empty file name\n"},
        {"--json --repeat= 100 1 2 3 4 5 6 7", 2, "", "--repeat: \"\" is not a whole number\n"},
        {"--threads= 100 1 2 3 4 5 6", 2, "", "--threads: \"\" is not a whole number\n"},
        {"--stream= 100 1 2 3 4 5 6", 2, "", "--stream: \"\" is not a whole number\n"},
        {"--raw --count= 5", 2, "", "--count: \"\" is not a whole number\n"},
        {"--locale= --csv 10 1 2 3 4 5 6", 0, "\n0,1,6,0,", ""},  // the user's settings
        // Nothing to say when nothing can be said.
        {"--version >/dev/full", 1, "", "loto-sim: the version cannot be written: No space"},
        {"--help >/dev/full", 1, "", "loto-sim: the help cannot be written: No space"},
    });
}

// A refused grid and a number beyond the range of numbers are said on standard error with the
// value, echoed safely and cut short; the output holds the command all the same.
TEST(LotoSim, SaysWhyACommandDrewNothing) {
    const std::string longField = "1e999$(printf 'x%.0s' $(seq 100))";
    ExpectRuns({
        {"10 7 8 9 10 11 7", 1, "estimate: \n k",
         "loto-sim: grid refused (six different numbers from 1 to 49): G6 is \"7\"\n"},
        {"1e999 1 2 3 4 5 6", 1, "estimate: \n",
         "the number in DRAWS is beyond the range of numbers: \"1e999\""},
        {"10 1 2 3 1e999 5 6", 1, "estimate: \n",
         "the number in G4 is beyond the range of numbers"},
        {"10 1 2 3 4 5 \"$(printf '1e999\\033]0;x\\007')\"", 1, "estimate: \n",
         "in G6 is beyond the range of numbers: \"1e999\\x1B]0;x\\x07\"\n"},
        {"10 1 2 3 4 5 " + longField, 1, "estimate: \n",
         ": \"1e999xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"...\n"},
    });
}

// Each value is read as the window reads its box: the first 1,000 characters of it, blanks and
// no-break spaces dropped, a batch's byte-order mark and CRLF taken away, a CR within a field
// kept.
TEST(LotoSim, ReadsValuesAsTheWindowDoes) {
    const auto blanks = [](int count) {
        return "\"$(printf ' %.0s' $(seq " + std::to_string(count) + "))5\"";
    };
    ExpectRuns({
        {"--json -- " + blanks(1000) + " 1 2 3 4 5 6", 0, "\"draws\":0,", ""},
        {"--json -- " + blanks(999) + " 1 2 3 4 5 6", 0, "\"draws\":5,", ""},
        {"--json \"$(printf '1\\302\\240000\\342\\200\\257000')\" 1 2 3 4 5 6", 0,
         "\"draws\":1000000,", ""},
        After("printf '\\357\\273\\277100;1;2;3;4;5;6\\n' | ",
              {"--batch --json", 0, "\"draws\":100,", ""}),
        After("printf '10\\r0;1;2;3;4;5;6\\r\\n' | ", {"--batch --json", 0, "\"draws\":10,", ""}),
        After("printf '10\\0000;1;2;3;4;5;6' | ", {"--batch --json", 0, "\"draws\":10,", ""}),
    });
}

// Results that cannot be written and input that cannot be read are failures, never success, and
// stop the drawing: 1000 commands of 5e7 draws would otherwise run for nobody. A batch line is
// bounded as it is read: one past 1 MiB, or a line that never ends, is refused there.
TEST(LotoSim, FailsWhenItCannotWriteOrRead) {
    const std::string huge =
        "{ echo '100;1;2;3;4;5;6'; head -c 300000000 /dev/zero | tr '\\0' 1; "
        "echo; echo '200;1;2;3;4;5;6'; } | ";
    ExpectRuns({
        {"1000 7 10 14 20 30 40 > /dev/full", 1, "",
         "the results cannot be written: No space left on device\n"},
        {"--csv 1000 7 10 14 20 30 40 > /dev/full", 1, "", "the results cannot be written"},
        {"--repeat 1000 5e7 1 2 3 4 5 6 >&-", 1, "", "the results cannot be written"},
        {"--batch < /", 1, "", "standard input cannot be read: Is a directory"},
        {"--batch <&-", 1, "", "standard input cannot be read"},
        After(huge, {"--batch --json", 1, "\"draws\":100,",
                     "loto-sim: line 2 is longer than 1048576 bytes: it cannot be read\n"}),
        {"--batch < /dev/zero", 1, "", "line 1 is longer than 1048576 bytes"},
        After("head -c 20000000 /dev/zero | tr '\\0' ';' | ",
              {"--batch", 1, "", "line 1 is longer than 1048576 bytes"}),
        After("head -c 20000 /dev/zero | tr '\\0' ';' | ",
              {"--batch", 2, "", "line 1: expected 7 fields separated by ';', found 20001"}),
        After("printf '100;1;2;3\\n' | ", {"--batch", 2, "", "line 1: expected 7 fields"}),
    });
}

// Further clicks: --repeat and --batch carry the generator over alike (a blank line skipped);
// JSON holds the numbers as numbers (an expected count the shortest text of its Single, a
// deviation that of its Double), the window's texts apart, the estimate in ISO 8601; a refused
// grid or an unreadable number leaves the texts empty, and no draw forms no deviation.
TEST(LotoSim, RepeatAndBatchAreFurtherClicks) {
    const std::string second = "{\"command\":2,\"deviation\":[0.9255409255409255,";
    const std::string refused =
        "printf '10;7;8;9;10;11;7\\n0;1;2;3;4;5;6\\n1;1e999;2;3;4;5;6\\n' | ";
    // The clock's readings masked: the estimate in ISO 8601 and the window's form, the time.
    const std::string masked =
        " | sed -E 's/\"[0-9-]{10}T[0-9:]{8}\"/ISO/; s#\"[0-9/]{10}( [0-9:]{8})?\"#FR#; "
        "s/(\"seconds\":)[^,]*/\\1S/'";
    ExpectRuns({
        {"--json --repeat 2 100 1 2 3 4 5 6", 0, second, ""},
        After("printf '100;1;2;3;4;5;6\\n \\n1 00;1;2;3;4;5;6\\r\\n' | ",
              {"--json --batch", 0, second, ""}),
        {"--json 100 1 2 3 4 5 6" + masked, 0,
         "{\"command\":1,\"deviation\":[-1.3682213682213682,13.796094358790207,-32.01288509731614,"
         "-43.34407295522588,-100,-100,-100],\"draws\":100,\"estimate\":ISO,\"expected\":[43."
         "596497,41.301945,13.2378025,1.7650404,0.09686197,0.00184499,7.151124e-06],"
         "\"interrupted\":false,\"observed\":[43,47,9,1,0,0,0],\"seconds\":S,\"stream\":0,"
         "\"texts\":{\"deviation\":[\"-1,36822\",\"13,79609\",\"-32,01289\",\"-43,34407\",\"-100,"
         "\",\"-100,\",\"-100,\"],\"estimate\":FR,"
         "\"expected\":[\"43,5965\",\"41,30194\",\"13,2378\",\"1,76504\",\"0,09686197\","
         "\"0,00184499\",\"0,00000715\"],\"observed\":[\"43\",\"47\",\"9\",\"1\",\"0\",\"0\","
         "\"0\"]},\"valid\":true}\n",
         ""},
        After(refused,
              {"--json --batch", 1,
               "{\"command\":1,\"deviation\":null,\"draws\":0,\"estimate\":null,\"expected\":null,"
               "\"field\":\"G6\",\"interrupted\":false,\"observed\":null,\"refused\":\"grid\",",
               "grid refused"}),
        After(
            refused,
            {"--json --batch", 1,
             "\"observed\":[\"\",\"\",\"\",\"\",\"\",\"\",\"\"]},\"valid\":false}\n{\"command\":2,"
             "\"deviation\":[null,null,null,null,null,null,null],\"draws\":0,",
             "grid refused"}),
        After(refused, {"--json --batch", 1, "\"expected\":[0,0,0,0,0,0,0],", "grid refused"}),
        After(refused, {"--json --batch", 1,
                        "\"field\":\"G1\",\"interrupted\":false,\"observed\":null,"
                        "\"refused\":\"unreadable\",",
                        "grid refused"}),
    });
}

// Files are written whole or not at all, where their names lead as a shell's redirection: a size
// limit or a full disk is an error with its message (not the end of the program), an old chart
// survives it, writers at the same time each leave a whole chart, a chart is written when the
// results cannot be; links are followed (made if missing) and kept, a loop of them is an error, a
// FIFO or a device is written as it stands; a reader that goes away ends the program as it ends
// `yes | head`.
TEST(LotoSim, WritesWholeOrNotAtAll) {
    char folder[] = "/tmp/loto-sim-whole-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string in = "cd " + std::string(folder) + " && { ";
    const std::string svg10 = " 10 1 2 3 4 5 6 >/dev/null; ";
    std::ofstream(std::string(folder) + "/c.svg") << "OLD\n";
    ExpectRuns({
        After("ulimit -f 1; " + in,
              {"--svg c.svg 1000 1 2 3 4 5 6 >/dev/null; echo $?; cat c.svg; }", 0, "1\nOLD\n",
               "loto-sim: the chart cannot be written to \"c.svg\": File too large\n"}),
        After("ulimit -f 1; " + in, {"--repeat 50 1000 1 2 3 4 5 6 >out; echo $?; }", 0, "1\n",
                                     "loto-sim: the results cannot be written: File too large\n"}),
        After(in,
              {"--svg c.svg 1000 1 2 3 4 5 6 >/dev/full; echo $?; grep -c '1000 draws: observed' "
               "c.svg; "
               "}",
               0, "1\n1\n", "loto-sim: the results cannot be written: No space left on device\n"}),
        // Eight writers at once, each a chart of its own: the one left is one of them, whole.
        After(in + "for i in $(seq 8); do " LOTO_SIM
                   " --svg c$i.svg --repeat $i 10 1 2 3 4 5 6 >/dev/null; done; "
                   "for i in $(seq 8); do ",
              {"--svg c.svg --repeat $i 10 1 2 3 4 5 6 >/dev/null & done; wait; for i in $(seq "
               "8); do cmp -s c.svg c$i.svg && echo whole; done; rm c?.svg; }",
               0, "whole\n", ""}),
        After(in + "ln -s c.svg link.svg && ",
              {"--svg link.svg" + svg10 + "test -L link.svg && grep -c '10 draws' c.svg; }", 0,
               "1\n", ""}),
        After(in + "ln -s new.svg dangling.svg && ",
              {"--svg dangling.svg" + svg10 + "test -L dangling.svg && grep -c '</svg>' new.svg; }",
               0, "1\n", ""}),
        After(in + "ln -s loop2 loop1 && ln -s loop1 loop2 && ",
              {"--svg loop1" + svg10 + "echo $?; test -L loop1 && test -L loop2 && echo kept; }", 0,
               "1\nkept\n",
               "loto-sim: the chart cannot be written to \"loop1\": Too many levels of symbolic "
               "links\n"}),
        After(in + "mkfifo fifo.svg && { grep -c '</svg>' fifo.svg & ",
              {"--svg fifo.svg" + svg10 + "wait; }; test -p fifo.svg && echo fifo; }", 0,
               "1\nfifo\n", ""}),
        After(
            in + "ln -s /dev/null null.svg && ",
            {"--svg null.svg" + svg10 + "test -c /dev/null && echo device; }", 0, "device\n", ""}),
        {"--svg /dev/stdout 10 1 2 3 4 5 6 | grep -c '</svg>'", 0, "1\n", ""},
        {"--svg /nonexistent/c.svg 10 1 2 3 4 5 6", 1, "\n 0 ",
         "loto-sim: the chart cannot be written to \"/nonexistent/c.svg\": No such file or "
         "directory\n"},
        After("{ (", {"--repeat 1000 100 1 2 3 4 5 6; echo $? >&3) | head -c 1 >/dev/null; } 3>&1",
                      0, "141\n", ""}),
    });
    EXPECT_EQ(Shell("ls -A " + std::string(folder)).out,
              "c.svg\ndangling.svg\nfifo.svg\nlink.svg\nloop1\nloop2\nnew.svg\nnull.svg\nout\n");
    Shell("rm -r " + std::string(folder));
}

// As a shell's redirection, a chart is written only into a file that the user may write, which
// keeps its mode and owner; run as nobody in a folder of nobody's.
TEST(LotoSim, WritesOnlyWhatTheUserMayWrite) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "running as another user takes root";
    }
    const std::string setUp =
        "d=$(mktemp -d) && chown nobody $d && cd $d && printf old | tee ro.svg root.svg mine.svg "
        ">/dev/null && chown nobody ro.svg mine.svg && chmod 444 ro.svg && chmod 640 mine.svg && "
        "{ setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    const std::string after = " 10 1 2 3 4 5 6 >/dev/null; echo $?; ";
    ExpectRuns({
        After(setUp, {"--svg ro.svg" + after + "cat ro.svg; rm -r $d; }", 0, "1\nold",
                      "loto-sim: the chart cannot be written to \"ro.svg\": Permission denied\n"}),
        After(setUp,
              {"--svg root.svg" + after + "stat -c '%U %a' root.svg; cat root.svg; rm -r $d; }", 0,
               "1\nroot 644\nold",
               "loto-sim: the chart cannot be written to \"root.svg\": Permission"}),
        After(setUp, {"--svg mine.svg" + after +
                          "stat -c '%U %a' mine.svg; grep -c '</svg>' mine.svg; rm -r $d; }",
                      0, "0\nnobody 640\n1\n", ""}),
    });
}

#if !defined(__SANITIZE_ADDRESS__)  // freed memory waits in the sanitizer's quarantine
// Nothing of a command stays once it is printed, and a line that never ends costs no more than
// the bound of a line: the peak memory, in kB.
TEST(LotoSim, MemoryStaysWithinItsBounds) {
    const auto peak = [](const std::string& input) {
        const auto run = Shell(input + " | /usr/bin/time -f %M " + LOTO_SIM +
                               " --batch --json 2>&1 >/dev/null | tail -n 1");
        return std::stol(run.out);
    };
    const auto lines = [](int count) {
        return "yes '1;1;2;3;4;5;6' | head -n " + std::to_string(count);
    };
    // The peak varies by about 300 kB from run to run on a loaded machine, whatever the number of
    // commands; 200 bytes kept per command would add 760 kB here.
    const long base = peak(lines(200));
    EXPECT_LT(peak(lines(4000)), base + 768);
    EXPECT_LT(peak("head -c 200000000 /dev/zero"), base + 4 * 1024);
}
#endif

// Bash completes every option that --help lists, and nothing else; after --svg, file names
// whole, blanks and '*' in them kept as they are; after --locale, each name once; after '=' too.
TEST(LotoSim, BashCompletesEveryOption) {
    // What bash offers for the last of `typed`, a line each, sorted, in a folder of four files.
    const auto completed = [](const std::string& typed) {
        return Shell(
                   "d=$(mktemp -d) && cd $d && touch 'my chart.svg' 'x*' xa xb && bash -c "
                   "'source " LOTO_SOURCE_DIR "/packaging/loto-sim.bash-completion; COMP_WORDS=(" +
                   typed +
                   "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _loto_sim; "
                   "printf \"%s\\n\" \"${COMPREPLY[@]}\"' | sort; rm -r $d")
            .out;
    };
    EXPECT_EQ(
        completed("loto-sim -"),
        Shell(LOTO_SIM " --help | grep -oE '(^|[ ,])-{1,2}[a-z][a-z-]*' | tr -d ' ,' | sort -u")
            .out);
    EXPECT_EQ(completed("loto-sim --svg my"), "my chart.svg\n");
    EXPECT_EQ(completed("loto-sim --svg \"x*\""), "x*\n");
    EXPECT_EQ(completed("loto-sim --locale POS"), "POSIX\n");
    // After '=', whether bash split the word there or not.
    EXPECT_EQ(completed("loto-sim --svg = my"), "my chart.svg\n");
    EXPECT_EQ(completed("loto-sim --svg=my"), "--svg=my chart.svg\n");
    EXPECT_EQ(completed("loto-sim --locale = POS"), "POSIX\n");
    EXPECT_EQ(completed("loto-sim --locale=POS"), "--locale=POSIX\n");
    // --audit takes several files.
    EXPECT_EQ(completed("loto-sim --audit xa x"), "x*\nxa\nxb\n");
    EXPECT_EQ(completed("loto-sim --audit xa --columns 1 x"), "\n");  // no reply
}

// Threads that the system cannot start leave the run to those that did, with a word on stderr,
// and the same draws (the engine's tests hold every number of threads to the serial loop).
TEST(LotoSim, ThreadsThatCannotStartChangeNothing) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer needs more address space than the limit leaves";
#endif
    const std::string command = "--json --repeat 2 --threads 64 2000000 7 10 14 20 30 40";
    const std::string said = "loto-sim: only ";
    ExpectRuns({
        After("ulimit -v 400000; ",
              {command, 0, "\"observed\":[872038,825728,265204,35074,1920,36,0]", said}),
        After("ulimit -v 400000; ",
              {command, 0, "\"observed\":[872106,826321,264266,35334,1937,36,0]", said}),
        // Nothing is spent on the threads that never start.
        After("ulimit -v 150000; ", {"--json --threads 1024 2000000 7 10 14 20 30 40", 0,
                                     "\"observed\":[872038,825728,265204,35074,1920,36,0]", said}),
    });
    // An audit's calibration draws the share of a thread that cannot start on the caller's.
    const std::string audit = "--json --audit-generator 2000 --calibrate 10 --threads ";
    const auto one = RunSim(audit + "1");
    const auto many = Shell("ulimit -v 400000; " LOTO_SIM " " + audit + "1024");
    EXPECT_EQ(many.status, 0) << many.err;
    EXPECT_EQ(many.out, one.out);
}

// A batch of a short command and a very long one, given `signal` once the short one's results
// are out and the long one has drawn for a second: counted from the output, not from the start,
// which a busy machine (the sanitizers, tests side by side) can make take seconds.
Expected SignalTheSecondCommand(const std::string& signal, const std::string& options, int status,
                                std::string out) {
    const std::string start =
        "out=$(mktemp); printf '1000;7;10;14;20;30;40\\n1e12;1;2;3;4;5;6\\n' | ";
    const std::string waitForALine =
        "for i in $(seq 600); do [ -s \"$out\" ] && break; sleep 0.1; done; sleep 1; ";
    // One that does not stop is killed 30 s on: a failure (status 137), not a hang.
    const std::string watchdog = "(sleep 30; kill -KILL $sim) >/dev/null 2>&1 & dog=$!; ";
    return After(start, {options + " >\"$out\" & sim=$!; " + waitForALine + "kill -" + signal +
                             " $sim; " + watchdog + "wait $sim; status=$?; kill $dog; " +
                             "cat \"$out\"; rm -f \"$out\"; exit $status",
                         status, std::move(out), ""});
}

// Ctrl-C or SIGTERM: the running command is reported with what it drew so far, the commands
// before it stay as printed, and the status tells which signal it was; so too in a repeat, while
// waiting for a batch line, and while the output or a FIFO waits for its reader.
TEST(LotoSim, InterruptReportsTheDrawsSoFar) {
    const auto batch = SignalTheSecondCommand("INT", "--batch --json --stats", 130, "");
    const auto run = RunSim(batch.arguments, batch.before);
    EXPECT_EQ(run.status, batch.status);
    std::vector<json> commands;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        commands.push_back(json::parse(line));
    }
    ASSERT_EQ(commands.size(), 2u) << run.out;
    EXPECT_EQ(commands[0]["observed"], json({399, 444, 135, 22, 0, 0, 0}));
    const json& stopped = commands[1];
    EXPECT_EQ(json({commands[0]["interrupted"], stopped["interrupted"], stopped["valid"],
                    stopped["expected"], stopped["stats"]["df"].is_number()}),
              json({false, true, true, nullptr, true}));  // the draws so far, tested as any
    std::uint64_t sum = 0;
    for (const auto& count : stopped["observed"]) {
        sum += count.get<std::uint64_t>();
    }
    EXPECT_GT(sum, 0u);
    EXPECT_EQ(sum, stopped["draws"].get<std::uint64_t>());
    const std::string fifo = testing::TempDir() + "loto-fifo-" + std::to_string(getpid());
    const std::string int1 = "timeout -s INT --preserve-status 1 ";
    ExpectRuns({
        SignalTheSecondCommand("TERM", "--batch", 143, "interrupted after "),
        SignalTheSecondCommand("INT", "--batch --csv", 130, ",-100,0\n0,2,0,"),
        After(int1, {"--repeat 2 1e12 1 2 3 4 5 6 >/dev/null", 130, "", ""}),
        After(int1, {"--raw >/dev/null", 130, "", ""}),
        After("sleep 2 | " + int1, {"--batch", 130, "", ""}),
        // Blank lines without end: none runs a command, the reading hears the signal itself.
        After("timeout -s KILL 20 yes '' | " + int1, {"--batch", 130, "", ""}),
        After("{ (" + int1,
              {"--repeat 100000 10 1 2 3 4 5 6; echo $? >&3) | sleep 2; } 3>&1", 0, "130\n", ""}),
        After("{ (" + int1,
              {"--raw; echo $? >&3) | (sleep 2; head -c 10 >/dev/null); } 3>&1", 0, "130\n", ""}),
        After("mkfifo " + fifo + "; " + int1,
              {"--svg " + fifo + " 10 1 2 3 4 5 6 >/dev/null", 130, "", ""}),
        After("timeout -s TERM --preserve-status 1 ",
              {"--svg " + fifo + " 10 1 2 3 4 5 6 >/dev/null", 143, "", ""}),
        // Commands that draw nothing stop too, their lines whole, the signal's status first.
        After("f=$(mktemp); yes '1e400;1;2;3;4;5;6' | timeout -s INT --preserve-status 1 ",
              {"--batch --json >\"$f\" 2>/dev/null; echo $?; tail -n 1 \"$f\" | grep -c "
               "'\"valid\":false}$'; rm \"$f\"",
               0, "130\n1\n", ""}),
        After("timeout -s TERM --preserve-status 1 ",
              {"--repeat 1000000 1e400 1 2 3 4 5 6 >/dev/null 2>&1; echo $?", 0, "143\n", ""}),
    });
    std::remove(fifo.c_str());
}

// On a terminal, a long run says when it will end, shows its progress, then its results (one
// lane on one thread, for a run of a few seconds), every line in the forms of one locale: each
// percentage of the progress line, "(35,7 %)", with the locale's separator.
TEST(LotoSim, TerminalShowsTheEstimateAndProgress) {
    // The designed game and any game: each clears its progress line before its results.
    for (const std::string game : {"", "--game 6/49 "}) {
        const auto run =
            Shell("script -qec 'LOTO_LANES=portable " + std::string(LOTO_SIM) +
                  " --locale fr_FR --threads 1 " + game + "1.3e8 1 2 3 4 5 6' /dev/null");
        EXPECT_EQ(run.status, 0) << run.out;
        const std::string& out = run.out;
        const auto estimate = out.find("expected end: ");
        ASSERT_NE(estimate, std::string::npos) << out;
        EXPECT_TRUE(std::isdigit(out[estimate + 14])) << out;  // a date, said once
        for (const char* said : {"\rdraws: ", " / 130000000 (", "\ndraws: 130000000 in "}) {
            EXPECT_NE(out.find(said), std::string::npos) << said << " in " << out;
        }
        int percentages = 0;
        for (auto end = out.find(" %)"); end != std::string::npos;
             end = out.find(" %)", end + 1), ++percentages) {
            EXPECT_EQ(out[end - 2], ',') << out.substr(end - 6, 9);  // "(35,7 %)"
        }
        EXPECT_GT(percentages, 0) << out;
        const auto last = out.rfind(" %)\033[K");
        EXPECT_EQ(out.substr(last + 6, 4), "\r\033[K") << game;
        EXPECT_EQ(out.find(" (0 draws/s)"), std::string::npos) << out;
    }
}

// The README's charts are what loto-sim draws, to the byte (make screenshot renews them).
TEST(LotoSim, DrawsTheReadmeCharts) {
    EXPECT_EQ(Chart("1000000 7 10 14 20 30 40"), ReadFile(LOTO_SOURCE_DIR "/docs/chart.svg"));
    EXPECT_EQ(Chart("--repeat 30 1000000 7 10 14 20 30 40"),
              ReadFile(LOTO_SOURCE_DIR "/docs/chart-deviations.svg"));
    EXPECT_EQ(Chart("--until 4 --repeat 300 20000 7 10 14 20 30 40"),
              ReadFile(LOTO_SOURCE_DIR "/docs/waits.svg"));
    // A single draw is still a run to chart, its count of 1 under the top of the axis.
    const std::string single = Chart("1 1 2 3 4 5 6");
    EXPECT_NE(single.find("class=\"y-axis\" data-low=\"1e-08\" data-high=\"10\""),
              std::string::npos);
    EXPECT_NE(single.find(">1 draw: observed"), std::string::npos);
    // Deviations beyond the axis, either way: an arrow on the panel's edge (38 and 332), 9 px long,
    // pointing the way each went.
    const std::string clipped = Chart("--repeat 40 3 1 2 3 4 5 6");
    EXPECT_NE(clipped.find("d=\"M80.00,38.00 L76.00,47.00 L84.00,47.00 Z\""), std::string::npos);
    EXPECT_NE(clipped.find("d=\"M620.00,332.00 L616.00,323.00 L624.00,323.00 Z\""),
              std::string::npos);
    EXPECT_EQ(RunSim("--svg /tmp/none.svg 0 1 2 3 4 5 6").status, 1);  // nothing drawn
}

}  // namespace
