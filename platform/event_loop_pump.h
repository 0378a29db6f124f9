#pragma once

#include <QElapsedTimer>

#include "platform/event_pump.h"

namespace loto {

// The event processing of a long computation on the user-interface thread: pending window events
// are dispatched when about 10 ms have passed since the last dispatch, so a call between two is
// only a clock reading. Once a stop is requested every call says so, and each running command
// stops at its next call.
class EventLoopPump final : public EventPump {
public:
    static constexpr qint64 kDispatchEveryMs = 10;

    EventLoopPump() { sinceDispatch_.start(); }

    // Returns false once a stop has been requested.
    [[nodiscard]] bool ProcessEvents(const DrawProgress& progress) override;
    void RequestStop() noexcept { stopRequested_ = true; }
    [[nodiscard]] bool StopRequested() const noexcept { return stopRequested_; }

private:
    QElapsedTimer sinceDispatch_;
    bool stopRequested_ = false;
};

}  // namespace loto
