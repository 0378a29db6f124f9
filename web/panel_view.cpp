#include "web/panel_view.h"

#include <emscripten/val.h>

#include "panel/example_rules.h"
#include "panel/panel_table.h"
#include "panel/panel_words.h"
#include "web/shown_cells.h"

namespace loto {
namespace {

using emscripten::val;

val Count(std::uint64_t count) {
    return val(static_cast<double>(count));
}

val Lines(const std::vector<PanelLine>& lines) {
    val shown = val::array();
    for (const PanelLine& line : lines) {
        val shownLine = ShownCell(line.cell);
        shownLine.set("term", line.term);
        shown.call<void>("push", shownLine);
    }
    return shown;
}

// The run's files as loto-sim writes them for the same commands; none for a refusal.
val Files(const PanelShown& shown) {
    val files = val::object();
    if (!shown.refusal.empty()) {
        return files;
    }
    files.set("json", shown.json);
    files.set("csv", shown.csv);
    if (!shown.chart.empty()) {
        files.set("svg", shown.chart);
    }
    return files;
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
            .until = field("until"),
            .repeats = field("repeats"),
            .lifetimes = field("lifetimes"),
            .rules = field("rules")};
}

std::vector<std::string> PanelGameChoices() {
    const val options =
        val::global("document").call<val>("getElementById", std::string("PJeux"))["options"];
    std::vector<std::string> games;
    for (int i = 0; i < options["length"].as<int>(); ++i) {
        games.push_back(options[i]["value"].as<std::string>());
    }
    return games;
}

void ShowRulesChoices() {
    val choices = val::array();
    for (const ExampleRules& example : ExampleRulesFiles()) {
        const ReadRules read = ParseRules(example.text);
        if (read.rules) {
            val choice = val::object();
            choice.set("file", std::string(example.file));
            choice.set("text", RulesChoiceText(example.file, *read.rules));
            choices.call<void>("push", choice);
        }
    }
    val::module_property("lotoPanelRules")(choices);
}

void ShowPanelFields(const PanelFields& fields) {
    val shown = val::object();
    shown.set("game", fields.game);
    shown.set("price", fields.price);
    shown.set("prizes", fields.prizes);
    shown.set("drawsPerWeek", fields.drawsPerWeek);
    val::module_property("lotoPanelFill")(shown);
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
    result.set("tiers", ShownRows(table.tiers));
    result.set("stats", Lines(table.stats));
    result.set("summary", Lines(SummaryLines(shown)));
    result.set("lines", Lines(table.lines));
    result.set("files", Files(shown));
    result.set("chartText", shown.chart.empty() ? std::string() : ChartAlternativeText(shown));
    val::module_property("lotoPanelShow")(result);
}

}  // namespace loto
