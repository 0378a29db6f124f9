#include "web/shown_cells.h"

namespace loto {

using emscripten::val;

val ShownCell(const PanelCell& cell) {
    val shown = val::object();
    shown.set("text", cell.text);
    if (const double* number = std::get_if<double>(&cell.value)) {
        shown.set("value", *number);
    } else if (const std::string* text = std::get_if<std::string>(&cell.value)) {
        shown.set("value", *text);
    } else {
        shown.set("value", val::null());
    }
    return shown;
}

val ShownRows(const std::vector<PanelRow>& rows) {
    val shown = val::array();
    for (const PanelRow& row : rows) {
        val cells = val::array();
        for (const PanelCell& cell : row) {
            cells.call<void>("push", ShownCell(cell));
        }
        shown.call<void>("push", cells);
    }
    return shown;
}

}  // namespace loto
