#include "cli/interrupt.h"

#include <csignal>

namespace loto {
namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void Catch(int signal) {
    caught = signal;
}

}  // namespace

// No SA_RESTART: a batch waiting for its next line stops waiting.
void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = Catch;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int InterruptSignal() noexcept {
    return caught;
}

}  // namespace loto
