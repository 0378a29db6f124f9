#pragma once

namespace loto {

// Ctrl-C (SIGINT) and SIGTERM ask the running command to stop at its next pump visit, so that
// what it drew so far can still be reported. A second one, half a second or more later, ends the
// program at once.
void CatchInterrupts();

// The signal that asked to stop, or 0.
[[nodiscard]] int InterruptSignal() noexcept;

}  // namespace loto
