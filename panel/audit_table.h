#pragma once

#include <string>
#include <vector>

#include "audit/report.h"
#include "panel/panel_table.h"

namespace loto {

// An audit as the page shows it, in French: each period's table of tests (Test, Grille,
// Statistique, ddl, p, p de Holm), each cell beside its value in the C locale, its caption and the
// sentence at the level.
struct AuditTable {
    std::string caption;
    std::vector<PanelRow> tests;
    std::string sentence;
};

[[nodiscard]] AuditTable MakeAuditTable(const AuditReport& report);

// The chart's text for those who do not see it.
[[nodiscard]] std::string AuditChartText(const AuditReport& report);

}  // namespace loto
