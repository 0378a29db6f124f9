#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace loto {

struct StartOptions {
    std::optional<int> exitStatus;  // set when there is nothing more to do (--version, --help)
    QString screenshotPath;         // render the window after a sample run into this file, then end
};

// Whether Qt has somewhere to show the window: a display, or a platform named on the command line
// or in the environment. Read before Qt starts, which aborts without one.
[[nodiscard]] bool DisplayAvailable(int argc, char** argv);

// Whether the command line names a style (-style), which then replaces the classic one.
[[nodiscard]] bool StyleChosen(int argc, char** argv);

// Reads the program's own options from what remains once QApplication has taken Qt's.
[[nodiscard]] StartOptions ReadStartOptions(const QStringList& arguments);

// Names, version, icon, style and fonts of the program.
void SetUpApplication(bool keepChosenStyle);

// The one line said when there is no display to show the window on.
[[nodiscard]] QString NoDisplayMessage();

// Ends the start with one clear line instead of an abort when Qt cannot reach the display.
void ExitClearlyIfQtCannotStart();
void RestoreQtMessages();

}  // namespace loto
