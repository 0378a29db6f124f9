#pragma once

#include "platform/event_pump.h"

namespace loto::test {

// A pump with nothing to do, visited between slices as the window's would be.
class IdlePump final : public EventPump {
public:
    bool ProcessEvents(const DrawProgress&) override { return true; }
};

}  // namespace loto::test
