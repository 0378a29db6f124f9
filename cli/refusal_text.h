#pragma once

#include <string>

#include "core/refusal.h"

namespace loto {

// A refusal as loto-sim says it, quoting what was typed; a prize's or a tier's names its option.
[[nodiscard]] std::string RefusalText(const Refusal& refusal);

}  // namespace loto
