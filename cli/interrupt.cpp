#include "cli/interrupt.h"

#include <cerrno>
#include <csignal>

namespace loto {
namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void Catch(int signal) {
    caught = signal;
}

}  // namespace

// No SA_RESTART: a batch waiting for its next line, or output waiting for its reader, stops
// waiting.
void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = Catch;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int InterruptSignal() noexcept {
    return caught;
}

ExitStatus FailureStatus(int error) noexcept {
    return error == EINTR && caught != 0 ? SignalStatus(caught) : ExitStatus::Failed;
}

}  // namespace loto
