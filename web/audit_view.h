#pragma once

#include "panel/audit_panel.h"
#include "platform/event_pump.h"

namespace loto {

// The page's view of the audit of a file (#Audit): the file that it read and what its lists and
// boxes hold, the columns that the file offers, the calibration's progress, and the audit shown.
[[nodiscard]] AuditFields AuditTyped();
void ShowAuditHead(const AuditHead& head);
void ShowAuditStarted();
void ShowAuditProgress(const DrawProgress& progress);
void ShowAudit(const AuditShown& shown);

}  // namespace loto
