#pragma once

#include <string>
#include <string_view>

namespace loto {

// Writes `content` to `path` whole or not at all: into a temporary file beside it, renamed over
// the target once written and closed, so that the old file survives any failure and writers at
// the same time each leave a whole file. A link leads to the file to write, made if missing; a
// FIFO or a device is written in place. The errno of the first failure, or 0: EINTR when a
// signal interrupted it.
[[nodiscard]] int WriteWholeFile(const std::string& path, std::string_view content);

}  // namespace loto
