#include "web/panel_view.h"

#include <emscripten/val.h>

#include "panel/panel_table.h"
#include "panel/panel_words.h"

namespace loto {
namespace {

using emscripten::val;

val Count(std::uint64_t count) {
    return val(static_cast<double>(count));
}

val Value(const PanelValue& value) {
    if (const double* number = std::get_if<double>(&value)) {
        return val(*number);
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        return val(*text);
    }
    return val::null();
}

val Cell(const PanelCell& cell) {
    val shown = val::object();
    shown.set("text", cell.text);
    shown.set("value", Value(cell.value));
    return shown;
}

}  // namespace

PanelFields PanelTyped() {
    const val typed = val::module_property("lotoPanelFields")();
    const auto field = [&typed](const char* name) { return typed[name].as<std::string>(); };
    return {.game = field("game"),
            .ticket = field("ticket"),
            .second = field("second"),
            .draws = field("draws"),
            .price = field("price"),
            .prizes = field("prizes"),
            .drawsPerWeek = field("drawsPerWeek"),
            .until = field("until")};
}

void ShowPanelStarted() {
    val::module_property("lotoPanelStarted")();
}

void ShowPanelProgress(const DrawProgress& progress, const std::string& status) {
    val::module_property("lotoPanelProgress")(Count(progress.done), Count(progress.total), status);
}

void ShowPanel(const PanelShown& shown) {
    const PanelTable table = MakePanelTable(shown.figures);
    val result = val::object();
    result.set("refusal", shown.refusal);
    result.set("status", PanelEndText(shown));
    result.set("game", GameName(shown.figures.rule.game));
    result.set("draws", Count(shown.figures.report.drawsDone));
    val tiers = val::array();
    for (const PanelRow& row : table.tiers) {
        val cells = val::array();
        for (const PanelCell& cell : row) {
            cells.call<void>("push", Cell(cell));
        }
        tiers.call<void>("push", cells);
    }
    result.set("tiers", tiers);
    val lines = val::array();
    for (const PanelLine& line : table.lines) {
        val shownLine = Cell(line.cell);
        shownLine.set("term", line.term);
        lines.call<void>("push", shownLine);
    }
    result.set("lines", lines);
    val::module_property("lotoPanelShow")(result);
}

}  // namespace loto
