#pragma once

#include <QByteArray>
#include <QClipboard>
#include <optional>

namespace loto {

// The UTF-8 bytes that another program on Qt's X display offers for the clipboard or the
// selection as UTF8_STRING, the target of terminals and xclip, exactly as it sends them: Qt
// decodes that target itself and drops a leading byte-order mark. Nothing when the platform is
// not X11, when this program owns what is asked for (its own copy, which Qt holds whole), or when
// the owner does not answer in time or offers no such target.
[[nodiscard]] std::optional<QByteArray> X11Utf8String(QClipboard::Mode mode);

}  // namespace loto
