#pragma once

#include <QString>

namespace loto {

// The picture of the README: the window after 1000 draws on the favourites 7, 10, 14, 20, 30, 40,
// typed and clicked as a user would, under French forms and a fixed clock, so that the same
// program always renders the same picture. False when the file cannot be written.
bool SaveScreenshot(const QString& path);

}  // namespace loto
