#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace loto {

struct Options {
    std::vector<std::string> boxes;  // DRAWS then G1 to G6, as typed into the boxes
    int repeat = 1;
    unsigned threads = 0;  // 0: every hardware thread
    bool batch = false;
    bool json = false;
    bool csv = false;
    bool stats = false;                  // significance of the tallies
    std::string locale;                  // empty: the user's settings
    std::optional<std::string> svg;      // the chart's file, when one is asked for
    bool raw = false;                    // the generator's words instead of commands
    std::optional<std::uint64_t> count;  // of raw words; endless without
    std::uint64_t stream = 0;            // of the sequence from the seed, 2^40 values apart
};

// The parsed command line, or the exit status when there is nothing to run (help, version, or a
// usage error already reported on standard error).
struct ParsedOptions {
    std::optional<Options> options;
    int exitStatus = 0;
};

[[nodiscard]] ParsedOptions ParseOptions(int argc, char** argv);

}  // namespace loto
