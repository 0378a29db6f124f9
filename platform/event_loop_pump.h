#pragma once

#include <QElapsedTimer>

#include "platform/event_pump.h"

namespace loto {

// The event processing of a long computation on the user-interface thread: pending window events
// are dispatched when about 10 ms have passed since the last dispatch, so a call between two is
// only a clock reading.
class EventLoopPump final : public EventPump {
public:
    static constexpr qint64 kDispatchEveryMs = 10;

    EventLoopPump() { sinceDispatch_.start(); }

    // Always lets the run go on: stopping is the command session's.
    [[nodiscard]] bool ProcessEvents(const DrawProgress& progress) override;

private:
    QElapsedTimer sinceDispatch_;
};

}  // namespace loto
