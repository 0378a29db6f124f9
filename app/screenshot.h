#pragma once

#include <QString>
#include <optional>
#include <string>

namespace loto {

// The picture of the README: the window after 1000 draws on the favourites 7, 10, 14, 20, 30, 40,
// typed and clicked as a user would, under French forms and a fixed clock, so that the same
// program always renders the same picture. The file is written whole or not at all, in the format
// that its extension names, under the name's very bytes; on a failure, the line that says why.
[[nodiscard]] std::optional<QString> SaveScreenshot(const std::string& path);

}  // namespace loto
