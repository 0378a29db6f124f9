#pragma once

#include "cli/exit_status.h"
#include "audit/gaps.h"
#include "cli/options.h"

namespace loto {

// loto-sim --audit FILE or --audit-generator N: reads the history of draws or draws it, runs the
// battery on each pool (and the ticket, and for the generator two streams side by side), and
// prints the family of tests, adjusted, in the output asked for; writes the charts of --svg.
// Status 1 for a file that cannot be read or a bad line (without --skip-bad), 2 for a ticket
// that cannot be played, 1 when the results or the chart cannot be written. The calibrations are
// shared with the peers, if any.
[[nodiscard]] ExitStatus RunAudit(const AuditMode& mode, CalibrationPeers* peers);

}  // namespace loto
