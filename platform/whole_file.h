#pragma once

#include <string>
#include <string_view>

namespace loto {

// Writes `content` to `path` whole or not at all, as a shell's redirection would write it: the
// path is opened once, links followed (the file made if missing), with the user's right to write
// it checked (EACCES otherwise), and what follows concerns the file opened, whatever a link does
// meanwhile. A FIFO or a device is written in place; a regular file is replaced by a temporary
// beside its own entry, written and closed first, with its mode (and its owner where the system
// allows), so that the old file survives any failure and writers at the same time each leave a
// whole file. The errno of the first failure, or 0: EINTR when a signal interrupted it.
[[nodiscard]] int WriteWholeFile(const std::string& path, std::string_view content);

}  // namespace loto
