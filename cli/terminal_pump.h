#pragma once

#include <chrono>
#include <functional>
#include <string_view>

#include "platform/event_pump.h"

namespace loto {

// What the running command shows: whether it is in its speed test, and its estimate once known.
struct CommandShown {
    bool speedTest = false;
    std::string_view estimate;
};

// loto-sim's event processing: stops the running command once an interrupt has been caught and,
// when asked to (standard error is a terminal), says when the run will end as soon as its draws
// are under way with the estimate that the command shows, then shows the progress of long runs
// on standard error: the phase that the command shows, and the draws done of those asked.
class TerminalPump final : public EventPump {
public:
    // `separator`: the decimal separator of the locale that every line follows.
    TerminalPump(bool showProgress, std::string_view separator, std::function<CommandShown()> shown)
        : showProgress_(showProgress), separator_(separator), shown_(std::move(shown)) {}

    // A command begins: its estimate is yet to be said.
    void StartCommand();
    [[nodiscard]] bool ProcessEvents(const DrawProgress& progress) override;
    // Clears the progress line, if one was shown.
    void EndProgress();

private:
    using Clock = std::chrono::steady_clock;

    void SayEstimate(std::string_view estimate);

    bool showProgress_;
    std::string_view separator_;
    std::function<CommandShown()> shown_;
    bool estimateSaid_ = false;
    bool progressShown_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastProgress_ = start_;
};

}  // namespace loto
