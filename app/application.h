#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace loto {

struct StartOptions {
    std::optional<int> exitStatus;  // set when there is nothing more to do (--version, --help)
    bool screenshot = false;        // render the window after a sample run, then end
};

// Reads the program's own options from what remains once QApplication has taken those of the
// platform it started; Qt's other options are accepted whatever the platform.
[[nodiscard]] StartOptions ReadStartOptions(const QStringList& arguments);

// Names, version, icon, style and fonts of the program: the classic style unless another that
// exists was asked for.
void SetUpApplication(const std::optional<std::string>& style);

// The one line said when there is no display to show the window on.
[[nodiscard]] QString NoDisplayMessage();
// The one line said when the platform plugin named (quoted) could not start.
[[nodiscard]] QString PlatformPluginMessage(const QString& quotedName);

}  // namespace loto
