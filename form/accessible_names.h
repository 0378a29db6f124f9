#pragma once

#include <string>

#include "form/design.h"

namespace loto {

// What a screen reader says for a control: its role in French (UTF-8). The desktop window and
// the web page both name their controls so.
[[nodiscard]] std::string AccessibleName(const ControlDesign& design);

// Heard, not seen: a label of no size, shown when a run has written its results.
inline constexpr std::string_view kRunEndedId = "LblFinTirages";
inline constexpr std::string_view kRunEndedName =
    "Tirages termin\u00E9s, les r\u00E9sultats sont affich\u00E9s";

}  // namespace loto
