#include "panel/audit_table.h"

#include "panel/audit_words.h"

namespace loto {
namespace {

PanelRow TestRow(const AuditEntry& entry) {
    const TestResult& test = entry.test;
    const std::string name = TestNameText(test.name) + (test.calibrated ? " *" : "");
    return {{name, test.name},
            {PoolText(entry.pool), PoolName(entry.pool)},
            StatisticCell(test.statistic, {.maxSignificant = 6}),
            test.freedom ? FigureCell(*test.freedom, {}) : FigureCell(std::nullopt, {}),
            ProbabilityCell(test.pValue),
            ProbabilityCell(entry.holm)};
}

}  // namespace

AuditTable MakeAuditTable(const AuditReport& report) {
    AuditTable table{.caption = FrenchCount(report.draws) + " tirages du " +
                                GameName(report.game) + (report.guessed ? " (deviné)" : ""),
                     .tests = {},
                     .sentence = AuditSentenceText(report)};
    if (report.period) {
        table.caption += ", du " + report.period->from + " au " + report.period->to;
    }
    for (const AuditEntry& entry : report.family) {
        table.tests.push_back(TestRow(entry));
    }
    if (const auto calibrated = std::find_if(
            report.family.begin(), report.family.end(),
            [](const AuditEntry& entry) { return entry.test.calibrated.has_value(); });
        calibrated != report.family.end()) {
        table.sentence += " * : étalonné sur " +
                          FrenchCount(calibrated->test.calibrated->histories) +
                          " historiques équitables de même longueur.";
    }
    return table;
}

std::string AuditChartText(const AuditReport& report) {
    return "Graphique : l’écart de chaque numéro du " + GameName(report.game) +
           " à son nombre attendu de sorties selon les tirages, dans son entonnoir, et les écarts "
           "entre deux sorties d’un numéro contre la loi géométrique.";
}

}  // namespace loto
