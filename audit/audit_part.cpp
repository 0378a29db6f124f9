#include "audit/audit_part.h"

#include "audit/power.h"

namespace loto {

AuditReport AuditPart(const HistoryPart& part, AuditReport report, const AuditSettings& settings,
                      const History* beside) {
    report.game = part.game;
    report.ticket = settings.ticket;
    report.draws = part.history.main.draws();
    report.period = part.period;
    report.alpha = settings.alpha;
    report.family = AuditHistory(part.history, settings, beside);
    if (!report.family.empty() && !Stopped(report.family)) {
        report.power = AuditPower({.drawn = part.history.main.drawn,
                                   .top = part.history.main.top,
                                   .draws = part.history.main.draws(),
                                   .tests = report.family.size(),
                                   .alpha = settings.alpha,
                                   .pump = settings.pump});
    }
    return report;
}

}  // namespace loto
