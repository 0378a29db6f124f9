#pragma once

namespace loto {

// How loto-sim ends.
enum class ExitStatus : int {
    Drew = 0,    // every command drew
    Failed = 1,  // a refused grid, an unreadable number, results or input lost, no chart
    Usage = 2,   // options that cannot work, a batch line without seven fields
};

// Stopped by a signal: 128 + its number, as a shell reports it (130 for SIGINT, 143 for SIGTERM).
// 141, for a reader that went away, is the system's own: SIGPIPE ends the program.
[[nodiscard]] constexpr ExitStatus SignalStatus(int signal) noexcept {
    return static_cast<ExitStatus>(128 + signal);
}

}  // namespace loto
