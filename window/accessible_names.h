#pragma once

#include <string>

#include "window/design.h"

namespace loto {

// What a screen reader says for a control: its role in French (UTF-8). The desktop window and
// the web page both name their controls so.
[[nodiscard]] std::string AccessibleName(const ControlDesign& design);

}  // namespace loto
