#pragma once

#include "audit/family.h"
#include "audit/periods.h"
#include "audit/report.h"

namespace loto {

// A part of a history audited as every front end audits it: its family adjusted by Holm, and what
// that family could have seen of its main pool, in `report`, whose other fields the caller fills.
// The family is empty where no test can be formed from the part's draws, and Stopped where the
// pump stopped a calibration (no power then).
[[nodiscard]] AuditReport AuditPart(const HistoryPart& part, AuditReport report,
                                    const AuditSettings& settings, const History* beside = nullptr);

}  // namespace loto
