#pragma once

#include <cstdint>
#include <optional>

#include "cli/exit_status.h"

namespace loto {

// Writes the generator's words from the seed on standard output, little-endian, `count` of them
// or until the output closes or an interrupt comes; the exit status.
[[nodiscard]] ExitStatus WriteRawStream(std::optional<std::uint64_t> count);

}  // namespace loto
