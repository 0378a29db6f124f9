#pragma once

#include <chrono>
#include <string_view>

#include "form/form_model.h"
#include "platform/event_pump.h"

namespace loto {

// loto-sim's event processing: stops the running command once an interrupt has been caught and,
// when asked to (standard error is a terminal), says when the run will end as soon as its draws
// are under way with the estimate that the form shows, then shows the progress of long runs on
// standard error: the phase that the form's message says, and the draws done of those asked.
class TerminalPump final : public EventPump {
public:
    // `separator`: the decimal separator of the locale that every line follows.
    TerminalPump(bool showProgress, std::string_view separator, const FormModel& model);

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
    const FormModel& model_;
    bool estimateSaid_ = false;
    bool progressShown_ = false;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastProgress_ = start_;
};

}  // namespace loto
