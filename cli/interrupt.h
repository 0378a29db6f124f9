#pragma once

#include "cli/exit_status.h"

namespace loto {

// Ctrl-C (SIGINT) and SIGTERM ask the running command to stop at its next pump visit, so that
// what it drew so far can still be reported. The pump is visited every few milliseconds, so one
// signal is enough; `timeout`, which signals twice (the command, then its process group), is
// answered like Ctrl-C.
void CatchInterrupts();

// The signal that asked to stop, or 0.
[[nodiscard]] int InterruptSignal() noexcept;

// The exit status of an output or input that failed with `error`: that of the signal when one
// interrupted it, Failed otherwise.
[[nodiscard]] ExitStatus FailureStatus(int error) noexcept;

}  // namespace loto
