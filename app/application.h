#pragma once

#include <QString>
#include <optional>

namespace loto {

class FrmLoto;

struct StartOptions {
    std::optional<int> exitStatus;  // set when there is nothing more to do (--version, --help)
    QString screenshotPath;         // render the window after a sample run into this file, then end
};

// Reads the program's few options before any window exists, so that --version and --help work
// without a display.
[[nodiscard]] StartOptions ReadStartOptions(int argc, char** argv);

// Names, version, icon, style and fonts of the program.
void SetUpApplication();

// Runs 1000 draws on the favourites 7, 10, 14, 20, 30, 40 as a user would, and saves the window.
bool SaveScreenshot(FrmLoto& form, const QString& path);

}  // namespace loto
