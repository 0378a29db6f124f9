#pragma once

#include <optional>
#include <string>

namespace loto {

// What the command line and the environment ask of the start, read before Qt starts: Qt aborts
// when it has no display, and takes its own options out of the command line.
struct StartProbe {
    bool displayWanted = false;        // a display or a platform named, here or in the environment
    bool windowWanted = true;          // not when only --version, --help or --screenshot is asked
    std::optional<std::string> style;  // -style NAME, in place of the classic style
};

[[nodiscard]] StartProbe ProbeStart(int argc, char** argv);

// The file that --screenshot names, its bytes as given: a name is not always text of the locale's
// encoding, and a round trip through text would write another file.
[[nodiscard]] std::optional<std::string> ScreenshotPath(int argc, char** argv);

}  // namespace loto
