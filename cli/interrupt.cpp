#include "cli/interrupt.h"

#include <csignal>
#include <ctime>

namespace loto {
namespace {

// `timeout` signals its command and then the command's process group, so one stop can arrive
// twice within microseconds; only a signal this long after the first ends the program.
constexpr long kEchoNanoseconds = 500'000'000;

volatile std::sig_atomic_t caught = 0;
timespec caughtAt{};  // written only by the handler, which both signals block

long NanosecondsSince(const timespec& then, const timespec& now) {
    constexpr long kPerSecond = 1'000'000'000;
    const long seconds = static_cast<long>(now.tv_sec - then.tv_sec);
    return seconds > 1 ? kPerSecond * 2 : seconds * kPerSecond + (now.tv_nsec - then.tv_nsec);
}

extern "C" void Catch(int signal) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (caught == 0) {
        caught = signal;
        caughtAt = now;
    } else if (NanosecondsSince(caughtAt, now) >= kEchoNanoseconds) {
        struct sigaction ending {};
        ending.sa_handler = SIG_DFL;
        sigaction(signal, &ending, nullptr);
        raise(signal);
    }
}

}  // namespace

// No SA_RESTART: a batch waiting for its next line stops waiting.
void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = Catch;
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int InterruptSignal() noexcept {
    return caught;
}

}  // namespace loto
