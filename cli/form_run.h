#pragma once

#include "cli/exit_status.h"
#include "cli/options.h"
#include "core/draw_peers.h"

namespace loto {

// loto-sim's commands of the designed form, one after the other in one command session, as
// clicks on SIMULER in one window: the values typed into the form's boxes, each command printed
// as soon as it ends, the run charted when asked.
[[nodiscard]] ExitStatus RunForm(const FormMode& mode, DrawPeers* peers);

}  // namespace loto
