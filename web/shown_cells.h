#pragma once

#include <emscripten/val.h>

#include <vector>

#include "panel/panel_table.h"

namespace loto {

// Cells as the page shows them: {text, value}, the value in the C locale or null; rows of them.
[[nodiscard]] emscripten::val ShownCell(const PanelCell& cell);
[[nodiscard]] emscripten::val ShownRows(const std::vector<PanelRow>& rows);

}  // namespace loto
