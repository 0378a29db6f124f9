#pragma once

#include <functional>

#include "platform/event_pump.h"

namespace loto {

// The event processing of the page: between slices of draws (about 5 ms each) the draw loop gives
// the browser its turn (a MessageChannel round trip, which browsers do not clamp as they clamp
// timers), then takes what was typed and clicked meanwhile: a click may run a whole nested command.
// The command's stack is kept across the turn by Asyncify, so its code is the desktop's. A browser
// handles input only when it has its turn: a turn every slice keeps a click's delay near 5 ms,
// where the desktop's 10 ms made it 16 ms (measured by make web-bench).
class BrowserPump final : public EventPump {
public:
    static constexpr double kYieldEverySeconds = 0.004;
    static constexpr double kFrameOverdueMs = 25;
    static constexpr double kFrameStalledMs = 100;

    explicit BrowserPump(std::function<void()> handleClicks);

    // Always lets the run go on: stopping is the command session's.
    [[nodiscard]] bool ProcessEvents(const DrawProgress& progress) override;

private:
    std::function<void()> handleClicks_;
    double lastYield_;
};

}  // namespace loto
