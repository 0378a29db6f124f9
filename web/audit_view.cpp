#include "web/audit_view.h"

#include <emscripten/val.h>

#include "panel/audit_table.h"
#include "platform/french_numbers.h"
#include "web/shown_cells.h"

namespace loto {
namespace {

using emscripten::val;

std::vector<int> Columns(const val& chosen) {
    return emscripten::vecFromJSArray<int>(chosen);
}

val Texts(const std::vector<std::string>& texts) {
    val shown = val::array();
    for (const std::string& text : texts) {
        shown.call<void>("push", text);
    }
    return shown;
}

val Table(const AuditReport& report) {
    const AuditTable table = MakeAuditTable(report);
    val shown = val::object();
    shown.set("caption", table.caption);
    shown.set("sentence", table.sentence);
    shown.set("rows", ShownRows(table.tests));
    return shown;
}

}  // namespace

AuditFields AuditTyped() {
    const val typed = val::module_property("lotoAuditFields")();
    const std::vector<std::uint8_t> bytes =
        emscripten::convertJSArrayToNumberVector<std::uint8_t>(typed["bytes"]);
    return {.name = typed["name"].as<std::string>(),
            .text = std::string(bytes.begin(), bytes.end()),
            .main = Columns(typed["main"]),
            .second = Columns(typed["second"]),
            .bonus = typed["bonus"].as<int>(),
            .date = typed["date"].as<int>(),
            .game = typed["game"].as<std::string>()};
}

void ShowAuditHead(const AuditHead& head) {
    val shown = val::object();
    shown.set("refusal", head.refusal);
    shown.set("columns", Texts(head.columns));
    val main = val::array();
    for (const int column : head.main) {
        main.call<void>("push", column);
    }
    shown.set("main", main);
    shown.set("date", head.date);
    shown.set("game", head.game);
    val::module_property("lotoAuditHead")(shown);
}

void ShowAuditStarted() {
    val::module_property("lotoAuditStarted")();
}

void ShowAuditProgress(const DrawProgress& progress) {
    val::module_property("lotoAuditProgress")(
        static_cast<double>(progress.done), static_cast<double>(progress.total),
        "Étalonnage : " + FrenchCount(progress.done) + " historiques équitables sur " +
            FrenchCount(progress.total) + "...");
}

void ShowAudit(const AuditShown& shown) {
    val result = val::object();
    result.set("refusal", shown.refusal);
    result.set("status", shown.stopped           ? std::string("Audit arrêté.")
                         : shown.refusal.empty() ? std::string("Audit terminé.")
                                                 : std::string("Rien n'a été vérifié."));
    val tables = val::array();
    for (const AuditReport& report : shown.reports) {
        tables.call<void>("push", Table(report));
    }
    result.set("tables", tables);
    result.set("svg", shown.svg);
    result.set("chartText",
               shown.reports.empty() ? std::string() : AuditChartText(shown.reports.back()));
    result.set("json", shown.json);
    val::module_property("lotoAuditShow")(result);
}

}  // namespace loto
