#pragma once

#include <functional>

#include "platform/event_pump.h"

namespace loto {

// The event processing of the page: about every 10 ms, as on the desktop, the draw loop gives the
// browser its turn (a MessageChannel round trip, which browsers do not clamp as they clamp
// timers), then handles the clicks queued meanwhile, which may run whole nested commands. The
// command's stack is kept across the turn by Asyncify, so its code is the desktop's.
class BrowserPump final : public EventPump {
public:
    static constexpr double kYieldEverySeconds = 0.010;

    explicit BrowserPump(std::function<void()> handleClicks);

    // Returns false once a stop has been requested.
    [[nodiscard]] bool ProcessEvents(const DrawProgress& progress) override;
    void RequestStop() noexcept { stopRequested_ = true; }
    [[nodiscard]] bool StopRequested() const noexcept { return stopRequested_; }

private:
    std::function<void()> handleClicks_;
    double lastYield_;
    bool stopRequested_ = false;
};

}  // namespace loto
