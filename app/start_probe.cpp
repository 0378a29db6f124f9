#include "app/start_probe.h"

#include <QtGlobal>
#include <string_view>

namespace loto {
namespace {

// The value of a Qt option, which comes with one dash or two, its value apart or after '='; an
// empty text for an option named without a value.
std::optional<std::string> OptionValue(int argc, char** argv, std::string_view name) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (!arg.starts_with('-')) {
            continue;
        }
        arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
        if (!arg.starts_with(name)) {
            continue;
        }
        arg.remove_prefix(name.size());
        if (arg.starts_with('=')) {
            return std::string(arg.substr(1));
        }
        if (arg.empty()) {
            return std::string(i + 1 < argc ? argv[i + 1] : "");
        }
    }
    return std::nullopt;
}

// Whether one of the program's options that open no window is among the arguments.
bool AsksNoWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--") {
            break;
        }
        if (!arg.starts_with('-')) {
            continue;
        }
        arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
        arg = arg.substr(0, arg.find('='));
        if (arg == "version" || arg == "help" || arg == "h" || arg == "screenshot") {
            return true;
        }
    }
    return false;
}

}  // namespace

StartProbe ProbeStart(int argc, char** argv) {
    const bool named = OptionValue(argc, argv, "platform") || OptionValue(argc, argv, "display");
    return {.displayWanted = named || !qEnvironmentVariableIsEmpty("DISPLAY") ||
                             !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                             !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"),
            .windowWanted = !AsksNoWindow(argc, argv),
            .style = OptionValue(argc, argv, "style")};
}

std::optional<std::string> ScreenshotPath(int argc, char** argv) {
    return OptionValue(argc, argv, "screenshot");
}

}  // namespace loto
